#pragma once
// A QIODevice that writes a file as the core's safe writer does
// (base/AtomicFile.h): the file is replaced whole at commit() or not at all,
// and another user's link or a target that is no regular file is refused,
// for what Qt writes (a PDF) as for the core's own files.

#include <QIODevice>
#include <memory>
#include <string>

#include "base/OrvoError.h"

namespace orvo {
class AtomicFileWriter;
}

namespace orvo::platform {

class SafeFileDevice : public QIODevice {
public:
    // Opens for writing at once; throws the writer's OrvoError.
    explicit SafeFileDevice(const std::string& nativePath);
    ~SafeFileDevice() override;  // without commit(): nothing replaced

    // Puts the file in place; throws OrvoError when it cannot.
    void commit();
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    std::unique_ptr<AtomicFileWriter> writer_;
    std::unique_ptr<OrvoError> fault_;  // of a write, reported by commit()
};

}  // namespace orvo::platform
