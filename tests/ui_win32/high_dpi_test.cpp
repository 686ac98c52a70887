// The window on a screen set to 150 % (144 dots per inch; the Wine prefix of this test says so
// in the registry): the window, its controls and its font grow with the scale, so nothing is cut
// off. The program declares itself per-monitor DPI aware in its manifest.
#include <gtest/gtest.h>

#include <string>

#include "ui/win32/dpi.hpp"
#include "window_fixture.hpp"

namespace proxylist::testing {
namespace {

constexpr int dpi = 144;

int at_scale(int pixels) {
    return MulDiv(pixels, dpi, 96);
}

// The text's extent in the control's font, on one line or broken into lines of `width`.
SIZE text_extent(HWND control, const std::wstring& text, int width, bool wraps) {
    HDC dc = GetDC(control);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ previous = SelectObject(dc, font);
    RECT box{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_CALCRECT | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return {box.right - box.left, box.bottom - box.top};
}

class HighDpiTest : public ::testing::Test {
  protected:
    WindowUnderTest window_;
};

TEST_F(HighDpiTest, ScreenIsSetTo150Percent) {
    ASSERT_EQ(system_dpi(), dpi);
    EXPECT_EQ(window_dpi(window_.handle()), dpi);
}

TEST_F(HighDpiTest, WindowIsTheLayoutSizeAtTheScaleCentredOnTheScreen) {
    RECT outer{};
    GetWindowRect(window_.handle(), &outer);
    const int width = at_scale(339);
    const int height = at_scale(250);
    EXPECT_EQ(outer.right - outer.left, width);
    EXPECT_EQ(outer.bottom - outer.top, height);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
}

TEST_F(HighDpiTest, ControlsAreInPlaceAtTheScaleAndInsideTheWindow) {
    RECT client{};
    GetClientRect(window_.handle(), &client);
    for (const ControlLayout& layout : main_window_controls()) {
        SCOPED_TRACE(std::string(control_name(layout.id)));
        const RECT place = rectangle_in_parent(window_.control(layout.id));
        EXPECT_EQ(place.left, at_scale(layout.place.left));
        EXPECT_EQ(place.top, at_scale(layout.place.top));
        EXPECT_EQ(place.right - place.left, at_scale(layout.place.width));
        EXPECT_LE(place.right, client.right);
        EXPECT_LE(place.bottom, client.bottom);
    }
}

TEST_F(HighDpiTest, FontGrowsWithTheScaleAndEveryCaptionFits) {
    const auto font =
        reinterpret_cast<HFONT>(SendMessageW(window_.control(ControlId::标签1), WM_GETFONT, 0, 0));
    LOGFONTW description{};
    ASSERT_EQ(GetObjectW(font, sizeof description, &description), sizeof description);
    LOGFONTW standard{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof standard, &standard);
    // The default GUI font is made for the screen's scale: 8 points are 16 pixels at 144 dpi.
    EXPECT_LE(description.lfHeight, -14);

    for (const ControlLayout& layout : main_window_controls()) {
        if (layout.kind != ControlKind::label && layout.kind != ControlKind::button) {
            continue;
        }
        SCOPED_TRACE(std::string(control_name(layout.id)));
        const HWND control = window_.control(layout.id);
        RECT area{};
        GetClientRect(control, &area);
        const bool wraps = layout.kind == ControlKind::button;
        const SIZE extent = text_extent(control, wide(layout.text), area.right, wraps);
        EXPECT_LE(extent.cx, area.right);
        EXPECT_LE(extent.cy, area.bottom);
    }
}

}  // namespace
}  // namespace proxylist::testing
