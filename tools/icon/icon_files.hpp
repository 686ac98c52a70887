// The application's icon as files, made from the same shapes the program draws: an SVG, a PNG
// per size, and a Windows icon holding every size.
#pragma once

#include <QByteArray>
#include <QString>

namespace proxylist {

inline constexpr const char* icon_file_stem = "proxy-list-tool";

[[nodiscard]] QByteArray icon_svg();
[[nodiscard]] QByteArray icon_png(int size);
// Sizes up to 128 as 32-bit bitmaps with alpha, which every Windows version reads; 256 as PNG,
// as Windows keeps its large icons.
[[nodiscard]] QByteArray icon_ico();

// Writes proxy-list-tool.svg, proxy-list-tool-<size>.png and proxy-list-tool.ico into the
// folder; false, with a message on stderr, when a file cannot be written.
[[nodiscard]] bool write_icon_files(const QString& folder);

}  // namespace proxylist
