#include "support/SourceFolders.h"

namespace orvo::testing {

std::string fixturesFolder() {
    return ORVO_FIXTURES;
}
std::string sampleFolder() {
    return ORVO_SAMPLE;
}

}  // namespace orvo::testing
