#include "base/ReadFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/Cp932.h"
#include "base/LineReader.h"
#include "base/OrvoError.h"

namespace orvo {

OwnedFile openForReading(const std::string& path, std::size_t* size, PipeUse pipes) {
    return openForReading(path, cp932::fromUtf8(path).bytes, size, pipes);
}

OwnedFile openForReading(const std::string& path, const std::string& shownName, std::size_t* size,
                         PipeUse pipes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) throw fileNotFound(shownName);
        if (errno == ENXIO) throw notARegularFile(shownName);  // a socket
        throw cannotOpenFile(shownName);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        throw cannotOpenFile(shownName);
    }
    if (!S_ISREG(info.st_mode) && !(S_ISFIFO(info.st_mode) && pipes == PipeUse::Allowed)) {
        ::close(fd);
        if (S_ISDIR(info.st_mode)) throw cannotOpenFile(shownName);
        throw notARegularFile(shownName);
    }
    // A pipe given on purpose is read as it comes.
    const int flags = ::fcntl(fd, F_GETFL);
    std::FILE* file = flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1
                          ? nullptr
                          : ::fdopen(fd, "rb");
    if (!file) {
        ::close(fd);
        throw cannotOpenFile(shownName);
    }
    if (size) *size = static_cast<std::size_t>(info.st_size);
    return OwnedFile(file);
}

std::vector<std::string> readTextLines(const std::string& path, const std::string& shownName) {
    OwnedFile file = openForReading(path, shownName);
    LineReader reader(file.get());
    std::vector<std::string> lines;
    try {
        while (!reader.atEnd()) lines.emplace_back(reader.nextLine());
    } catch (const OverlongLine&) {
        throw lineTooLong(shownName);
    }
    if (std::ferror(file.get())) throw cannotOpenFile(shownName);
    return lines;
}

}  // namespace orvo
