#include "ui/qt/qt_text.hpp"

#include "text/codepage.hpp"

namespace proxylist {

QString qstring_from_text(const Text& text) {
    return qstring_from_utf8(utf8_from_cp936(text.view()));
}

Text text_from_qstring(const QString& string) {
    const QByteArray utf8 = string.toUtf8();
    return cp936_from_utf8(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString qstring_from_utf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace proxylist
