// The Qt build: the print fonts' metrics and PDF output come from the paper
// module (cli/paper), loaded on the first call only.

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "base/Cp932.h"
#include "base/OrvoError.h"
#include "cli/FontPages.h"

namespace orvo::cli {

namespace {

// The module lies at ORVO_PAPER_MODULE from the program's own folder, the
// same path in the build folder as where it is installed; the program's real
// place counts, not a link to it.
std::string modulePath() {
    std::string self(PATH_MAX, '\0');
    const ssize_t length = readlink("/proc/self/exe", self.data(), self.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= self.size())
        throw OrvoError(
            "orvokakei-cli の置き場所が分からないため、印刷フォントの部品を読み込めません");
    self.resize(static_cast<std::size_t>(length));
    return self.substr(0, self.rfind('/') + 1) + ORVO_PAPER_MODULE;
}

OrvoError cannotLoad(const char* why) {
    return OrvoError("印刷フォントの部品を読み込めません: " + cp932::fromUtf8(why).bytes);
}

}  // namespace

bool fontPagesBuilt() {
    return true;
}

std::unique_ptr<FontPages> makeFontPages() {
    const std::string path = modulePath();
    // Never closed: the pages' code and Qt's stay until the program ends.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) throw cannotLoad(dlerror());
    void* make = dlsym(module, kMakeFontPagesSymbol);
    if (!make) throw cannotLoad(dlerror());
    return std::unique_ptr<FontPages>(reinterpret_cast<MakeFontPagesFunction>(make)());
}

}  // namespace orvo::cli
