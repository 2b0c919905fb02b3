#include "platform/Text.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::platform {

QString fromCp932(std::string_view cp932) {
    const std::string utf8 = cp932::toUtf8(cp932);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

Cp932Result toCp932(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    cp932::Encoded e =
        cp932::fromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    return {std::move(e.bytes),
            QString::fromUtf8(e.unencodable.data(), static_cast<qsizetype>(e.unencodable.size()))};
}

QString withCrLfLineBreaks(QString text) {
    text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').replace(u"\n"_s, u"\r\n"_s);
    return text;
}

std::string toNativePath(const QString& path) {
    const QByteArray bytes = path.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString fromNativePath(std::string_view path) {
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

}  // namespace orvo::platform
