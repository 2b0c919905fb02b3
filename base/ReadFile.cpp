#include "base/ReadFile.h"

#include <sys/stat.h>

#include <cerrno>

#include "base/Cp932.h"
#include "base/OrvoError.h"

namespace orvo {

OwnedFile openForReading(const std::string& path, std::size_t* size) {
    OwnedFile file(std::fopen(path.c_str(), "rb"));
    const std::string name = cp932::fromUtf8(path).bytes;
    if (!file) {
        if (errno == ENOENT) throw fileNotFound();
        throw cannotOpenFile(name);
    }
    struct stat info {};
    if (::fstat(::fileno(file.get()), &info) != 0 || S_ISDIR(info.st_mode))
        throw cannotOpenFile(name);
    if (size) *size = static_cast<std::size_t>(info.st_size);
    return file;
}

}  // namespace orvo
