#pragma once
// The window layer's only crossing between the core's CP932 bytes and QString.

#include <QString>
#include <string>
#include <string_view>

#include "base/Cp932.h"

namespace orvo::platform {

QString fromCp932(std::string_view cp932);

// UTF-16 to CP932; characters CP932 cannot hold are listed, never substituted.
struct Cp932Result {
    std::string bytes;
    QString unencodable;
    bool ok() const { return unencodable.isEmpty(); }
};
Cp932Result toCp932(const QString& text);

// Every line break (CR LF, a lone CR or LF) written CR LF, as cells hold them;
// editors and clipboards hand them over as LF.
QString withCrLfLineBreaks(QString text);

// Native file paths are UTF-8 bytes on Linux; the core opens files by them.
std::string toNativePath(const QString& path);
QString fromNativePath(std::string_view path);

}  // namespace orvo::platform
