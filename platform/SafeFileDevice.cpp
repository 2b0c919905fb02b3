#include "platform/SafeFileDevice.h"

#include "base/AtomicFile.h"
#include "base/OrvoError.h"

namespace orvo::platform {

SafeFileDevice::SafeFileDevice(const std::string& nativePath)
    : writer_(std::make_unique<AtomicFileWriter>(nativePath)) {
    QIODevice::open(QIODevice::WriteOnly);
}

SafeFileDevice::~SafeFileDevice() = default;

qint64 SafeFileDevice::writeData(const char* data, qint64 size) {
    if (fault_) return -1;
    try {
        writer_->write(std::string_view(data, static_cast<std::size_t>(size)));
    } catch (const OrvoError& e) {
        fault_ = std::make_unique<OrvoError>(e);  // the writer has let go of its file
        return -1;
    }
    return size;
}

void SafeFileDevice::commit() {
    close();
    if (fault_) throw *fault_;
    writer_->commit();
}

}  // namespace orvo::platform
