// CP932 to UTF-8 and back. Decoding never fails (U+FFFD stands in); the UTF-8
// it gives encodes again, and what a text's encodable part holds decodes to
// the same characters.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/Cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (std::size_t pos = 0; pos < bytes.size(); pos += orvo::cp932::charLength(bytes, pos)) {
    }
    const std::string utf8 = orvo::cp932::toUtf8(bytes);
    (void)orvo::cp932::fromUtf8(utf8);
    // The input read as UTF-8 (it may be none).
    const orvo::cp932::Encoded encoded = orvo::cp932::fromUtf8(bytes);
    const std::string again = orvo::cp932::fromUtf8(orvo::cp932::toUtf8(encoded.bytes)).bytes;
    if (again != encoded.bytes) std::abort();
    return 0;
}
