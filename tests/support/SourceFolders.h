#pragma once
// Folders of the source tree the tests read from. Their paths are compiled into
// one file only, so that no other test file's compilation depends on where the
// tree is checked out (ccache then serves every other clone of it).

#include <string>

namespace orvo::testing {

// tests/fixtures
std::string fixturesFolder();
// sample/
std::string sampleFolder();

}  // namespace orvo::testing
