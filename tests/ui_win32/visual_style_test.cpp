// The visual-style component on the real window: style 2 draws the edit boxes, the drop-down
// list with its open list and the push buttons in the lake-blue accent, at once and for
// windows made later too; off gives the system look back; labels keep the system look.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <optional>

#include "picture.hpp"
#include "ui/win32/accent_painting.hpp"
#include "ui/win32/canvas.hpp"
#include "window_fixture.hpp"

namespace proxylist::testing {
namespace {

using enum ControlId;
using Kind = Win32VisualStyle::Kind;

constexpr COLORREF lake_blue = RGB(0x2b, 0x6c, 0xb0);
constexpr COLORREF slate = RGB(0x4a, 0x5d, 0x78);
constexpr COLORREF pine = RGB(0x2f, 0x85, 0x5a);
constexpr COLORREF quiet_border = RGB(0xa3, 0xad, 0xba);

// The middle of a box's top edge: its frame line.
COLORREF top_edge(HWND box) {
    const Picture picture = Picture::of(box, true);
    return picture.at(picture.width() / 2, 0);
}

class VisualStyleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(window_.style().current_style(), 2);
        ASSERT_TRUE(focus_control(window_.window(), window_.control(编辑框1)));
        settle();
    }
    // Lets every paint that is due happen.
    void settle() { pump_for(&window_.window(), 100ms); }

    WindowUnderTest window_;
};

TEST_F(VisualStyleTest, EditBoxesHaveAnOutlineOfTheirOwnInTheAccentWhenFocused) {
    EXPECT_TRUE(close_to(top_edge(window_.control(编辑框1)), lake_blue, 2));
    for (const ControlId box : {编辑框2, 编辑框3, 编辑框4, 编辑框5}) {
        EXPECT_TRUE(close_to(top_edge(window_.control(box)), quiet_border, 2)) << control_name(box);
        EXPECT_TRUE(window_.style().restyles(window_.control(box)));
    }
    // Rounded: the corner pixel shows mostly the window behind the box.
    const Picture box = Picture::of(window_.control(编辑框2), true);
    EXPECT_TRUE(close_to(box.at(0, 0), GetSysColor(COLOR_BTNFACE), 40));
    EXPECT_FALSE(close_to(box.at(0, 0), quiet_border, 10));

    ASSERT_TRUE(focus_control(window_.window(), window_.control(编辑框4)));
    settle();
    EXPECT_TRUE(close_to(top_edge(window_.control(编辑框4)), lake_blue, 2));
    EXPECT_TRUE(close_to(top_edge(window_.control(编辑框1)), quiet_border, 2));
}

TEST_F(VisualStyleTest, PushButtonsAreWashedInTheAccent) {
    for (const ControlId id : {按钮1, 按钮2}) {
        const Picture button = Picture::of(window_.control(id), false);
        SCOPED_TRACE(std::string(control_name(id)));
        // Near the bottom the wash is deepest: white with 15 % of the accent.
        const COLORREF lower = button.at(button.width() / 2, button.height() - 4);
        EXPECT_TRUE(close_to(lower, mix(RGB(255, 255, 255), lake_blue, 0.15f), 6))
            << std::hex << lower;
        EXPECT_FALSE(close_to(lower, GetSysColor(COLOR_BTNFACE), 6));
        // The caption is drawn: dark pixels in the middle band.
        EXPECT_GT(Picture::of(window_.control(id), false).count_near(RGB(0, 0, 0), 90), 10);
    }
}

TEST_F(VisualStyleTest, DropDownListShowsItsItemWithAnAccentArrowAndItsOpenListTheCurrentItem) {
    const HWND combo = window_.control(组合框1);
    EXPECT_TRUE(window_.style().restyles(combo));
    EXPECT_GT(Picture::of(combo, false).count_near(lake_blue, 24), 4);

    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    settle();
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    ASSERT_TRUE(IsWindowVisible(info.hwndList));
    EXPECT_TRUE(window_.style().restyles(info.hwndList));
    const Picture list = Picture::of(info.hwndList, false);
    // Item 0 is current: a band of the accent with the item's text in white on it.
    EXPECT_GT(list.count_near(lake_blue, 4), list.width() * 5);
    EXPECT_GT(list.count_near(RGB(255, 255, 255), 4), list.width() * 5);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    settle();
}

TEST_F(VisualStyleTest, OffGivesTheSystemLookBackAndOnRestylesAtOnce) {
    const HWND box = window_.control(编辑框2);
    const HWND button = window_.control(按钮2);
    window_.style().switch_on(0);
    EXPECT_EQ(window_.style().current_style(), 0);
    EXPECT_FALSE(window_.style().restyles(box));
    // Redrawn at once: nothing else has run since.
    EXPECT_FALSE(close_to(top_edge(box), quiet_border, 2));
    const Picture system_button = Picture::of(button, false);
    EXPECT_FALSE(close_to(system_button.at(system_button.width() / 2, system_button.height() - 4),
                          mix(RGB(255, 255, 255), lake_blue, 0.15f), 6));

    window_.style().switch_on(2);
    EXPECT_TRUE(close_to(top_edge(box), quiet_border, 2));
}

TEST_F(VisualStyleTest, StylesOneAndThreeHaveAccentsOfTheirOwnAndOtherNumbersAreOff) {
    const HWND focused = window_.control(编辑框1);
    struct Case {
        int style;
        std::optional<COLORREF> outline;
    };
    const Case cases[] = {{1, slate},     {3, pine},          {2, lake_blue},   {4, std::nullopt},
                          {2, lake_blue}, {-1, std::nullopt}, {0, std::nullopt}};
    for (const Case& c : cases) {
        window_.style().switch_on(c.style);
        SCOPED_TRACE(c.style);
        EXPECT_EQ(window_.style().current_style(), c.outline ? c.style : 0);
        if (c.outline) {
            EXPECT_TRUE(close_to(top_edge(focused), *c.outline, 2));
        } else {
            EXPECT_FALSE(window_.style().restyles(focused));
        }
    }
}

TEST_F(VisualStyleTest, WindowsMadeLaterAreRestyledToo) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND box = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE, 176, 200, 60,
                               16, window_.handle(), nullptr, instance, nullptr);
    HWND top_level = CreateWindowExW(0, L"Button", L"OK", WS_POPUP | WS_VISIBLE | BS_PUSHBUTTON, 0,
                                     0, 60, 30, nullptr, nullptr, instance, nullptr);
    ASSERT_NE(box, nullptr);
    ASSERT_NE(top_level, nullptr);
    settle();
    EXPECT_TRUE(window_.style().restyles(box));
    EXPECT_TRUE(close_to(top_edge(box), quiet_border, 2));
    DestroyWindow(box);
    DestroyWindow(top_level);

    // Off, new windows keep the system look.
    window_.style().switch_on(0);
    box = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE, 176, 200, 60, 16,
                          window_.handle(), nullptr, instance, nullptr);
    settle();
    EXPECT_FALSE(window_.style().restyles(box));
    DestroyWindow(box);
}

TEST_F(VisualStyleTest, LabelsKeepTheSystemLook) {
    const HWND label = window_.control(标签1);
    const Picture styled = Picture::of(label, false);
    window_.style().switch_on(0);
    settle();
    EXPECT_EQ(Picture::of(label, false), styled);
    EXPECT_EQ(Win32VisualStyle::kind_of(label), Kind::none);
}

TEST(VisualStyleKindTest, WhatTheComponentDrawsFollowsTheClassAndTheStyle) {
    struct Case {
        const wchar_t* class_name;
        DWORD style;
        DWORD ex_style;
        Kind kind;
    };
    const Case cases[] = {
        {L"Edit", 0, WS_EX_CLIENTEDGE, Kind::field},
        {L"Edit", 0, 0, Kind::none},
        {L"ComboBox", CBS_DROPDOWNLIST, 0, Kind::drop_down},
        {L"ComboBox", CBS_DROPDOWN, 0, Kind::drop_down},
        {L"ComboBox", CBS_SIMPLE, 0, Kind::none},
        {L"Button", BS_PUSHBUTTON, 0, Kind::push_button},
        {L"Button", BS_DEFPUSHBUTTON, 0, Kind::push_button},
        {L"Button", BS_AUTOCHECKBOX, 0, Kind::none},
        {L"Static", 0, 0, Kind::none},
    };
    for (const Case& c : cases) {
        HWND window = CreateWindowExW(c.ex_style, c.class_name, L"", WS_POPUP | c.style, 0, 0, 80,
                                      80, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(Win32VisualStyle::kind_of(window), c.kind) << utf8(c.class_name) << c.style;
        DestroyWindow(window);
    }
}

}  // namespace
}  // namespace proxylist::testing
