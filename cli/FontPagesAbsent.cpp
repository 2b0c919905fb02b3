// A build without Qt: no print fonts, no PDF.

#include "cli/PrintCliSupport.h"

namespace orvo::cli {

bool fontPagesBuilt() {
    return false;
}

std::unique_ptr<FontPages> makeFontPages() {
    return nullptr;
}

}  // namespace orvo::cli
