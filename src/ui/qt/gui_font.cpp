#include "ui/qt/gui_font.hpp"

#include <QApplication>
#include <QFont>

namespace proxylist {

// The layout's sizes are pixels, so the font is sized in pixels too, whatever the screen's
// dots per inch.
constexpr int default_gui_font_pixels = 12;

void use_default_gui_font() {
    QFont font = QApplication::font();
    font.setPixelSize(default_gui_font_pixels);
    QApplication::setFont(font);
}

}  // namespace proxylist
