#pragma once
// The built-in layout files, compiled into the program by the build from
// statement/layouts/*.txt (EmbedLayouts.cmake).

#include <string_view>
#include <vector>

namespace orvo::statement {

struct EmbeddedLayoutFile {
    std::string_view name;   // the file name
    std::string_view bytes;  // its contents
};

const std::vector<EmbeddedLayoutFile>& embeddedLayoutFiles();

}  // namespace orvo::statement
