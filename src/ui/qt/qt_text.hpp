// Between the core's code page 936 texts and Qt's strings, through the code page seam.
#pragma once

#include <QString>
#include <string_view>

#include "text/text.hpp"

namespace proxylist {

[[nodiscard]] QString qstring_from_text(const Text& text);
// The absent text for an empty string.
[[nodiscard]] Text text_from_qstring(const QString& string);
// Layout texts are UTF-8 as written in the source.
[[nodiscard]] QString qstring_from_utf8(std::string_view utf8);

}  // namespace proxylist
