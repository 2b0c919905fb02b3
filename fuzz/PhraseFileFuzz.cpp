// The fixed-phrase file "定型句.dat", parsed from memory and read from a file,
// which must give the same phrases, and the file a save writes of them.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzFiles.h"
#include "base/OrvoError.h"
#include "settings/PhraseFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> parsed = orvo::parsePhrases(bytes);

    static const std::string path = orvo::fuzz::scratchFolder() + "/phrases.dat";
    orvo::fuzz::writeFile(path, bytes);
    std::vector<std::string> read;
    try {
        orvo::ReadPhraseFile(read, path);
    } catch (const orvo::OrvoError&) {
        std::abort();  // a file this process just wrote is readable
    }
    if (read != parsed) std::abort();
    // Phrases as read are phrases a save writes back unchanged.
    if (orvo::parsePhrases(orvo::phraseFileText(parsed)) != parsed) std::abort();
    return 0;
}
