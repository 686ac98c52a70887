#include "ui/win32/gui_font.hpp"

#include "ui/win32/dpi.hpp"

namespace proxylist {
namespace {

int cell_height(HFONT font) {
    WindowDc screen(nullptr);
    if (screen.get() == nullptr) {
        return 0;
    }
    SelectedObject selected(screen.get(), font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.get(), &metrics);
    return metrics.tmHeight;
}

}  // namespace

GuiFont::GuiFont(int dpi) : font_(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))) {
    const int made_for = system_dpi();
    if (dpi != made_for) {
        LOGFONTW description{};
        if (GetObjectW(font_, sizeof description, &description) == sizeof description) {
            description.lfHeight = MulDiv(description.lfHeight, dpi, made_for);
            description.lfWidth = MulDiv(description.lfWidth, dpi, made_for);
            scaled_copy_.reset(CreateFontIndirectW(&description));
            if (scaled_copy_) {
                font_ = scaled_copy_.get();
            }
        }
    }
    line_height_ = cell_height(font_);
}

}  // namespace proxylist
