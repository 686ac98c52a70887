// Chinese captions are drawn as their glyphs, not as boxes: the Wine prefix of the tests finds
// a CJK font (fonts-wqy-microhei). A box (the glyph of a character no font has) looks the same
// for every character; real glyphs differ from it and from each other.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "picture.hpp"
#include "window_fixture.hpp"

namespace proxylist::testing {
namespace {

using enum ControlId;

Picture glyph(wchar_t character) {
    return Picture::drawn(32, 32, [character](HDC dc) {
        HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetTextColor(dc, RGB(0, 0, 0));
        TextOutW(dc, 4, 4, &character, 1);
        SelectObject(dc, previous);
    });
}

int ink(const Picture& picture) {
    return picture.width() * picture.height() - picture.count_near(RGB(255, 255, 255), 16);
}

TEST(ChineseGlyphsTest, EveryCaptionCharacterHasAGlyphOfItsOwn) {
    // U+0378 is assigned to no character: no font has it, whatever stands in for it.
    const Picture missing = glyph(L'\u0378');
    std::set<wchar_t> characters;
    for (const ControlLayout& layout : main_window_controls()) {
        for (const wchar_t c : wide(layout.text)) {
            if (c >= 0x4E00 && c <= 0x9FFF) {  // the Chinese characters
                characters.insert(c);
            }
        }
    }
    ASSERT_GE(characters.size(), 15u);
    std::vector<Picture> seen;
    for (const wchar_t c : characters) {
        SCOPED_TRACE(utf8(std::wstring(1, c)));
        const Picture picture = glyph(c);
        EXPECT_GT(ink(picture), 12);
        EXPECT_FALSE(picture == missing);
        for (const Picture& other : seen) {
            EXPECT_FALSE(picture == other);
        }
        seen.push_back(picture);
    }
}

TEST(ChineseGlyphsTest, TheTwoButtonsShowDifferentCaptions) {
    WindowUnderTest window;
    pump_for(&window.window(), 100ms);
    // Same size, same look: only the captions differ, unless both are drawn as boxes.
    const Picture extract = Picture::of(window.control(按钮1), false);
    const Picture save = Picture::of(window.control(按钮2), false);
    EXPECT_GT(extract.count_near(RGB(0, 0, 0), 90), 10);
    EXPECT_FALSE(extract == save);
}

}  // namespace
}  // namespace proxylist::testing
