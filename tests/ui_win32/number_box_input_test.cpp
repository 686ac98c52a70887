// The whole-number boxes with real keyboard input (SendInput): the typing filter, the paste
// that is not filtered, and the correction when the focus leaves.
#include <gtest/gtest.h>

#include <string>

#include "window_fixture.hpp"

namespace proxylist::testing {
namespace {

struct Typed {
    ControlId box;
    const wchar_t* typed;
    const wchar_t* shown;
};

class TypingTest : public ::testing::TestWithParam<Typed> {
  protected:
    WindowUnderTest window_;
};

TEST_P(TypingTest, OnlyDigitsAndTheMinusSignReachAWholeNumberBox) {
    const Typed& typed = GetParam();
    const HWND box = window_.control(typed.box);
    SetWindowTextW(box, L"");
    ASSERT_TRUE(focus_control(window_.window(), box));
    type_text(typed.typed);
    // The box's text, read once everything typed has arrived: the last character typed is
    // always one the box keeps.
    EXPECT_TRUE(pump_until(&window_.window(), [&] { return window_text(box) == typed.shown; }))
        << "shows \"" << utf8(window_text(box)) << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, TypingTest,
    ::testing::Values(
        // Letters, dots, spaces, two-byte characters are dropped without a sound.
        Typed{ControlId::编辑框1, L"a1.2 3中-4", L"123-4"},
        Typed{ControlId::编辑框2, L"x-y0z1", L"-01"},
        Typed{ControlId::编辑框3, L"８０80", L"80"},  // full-width digits are no digits
        Typed{ControlId::编辑框3, L"+12e3", L"123"},
        // The free-text box takes everything.
        Typed{ControlId::编辑框5, L"a1.2 3中-4", L"a1.2 3中-4"}),
    [](const ::testing::TestParamInfo<Typed>& info) {
        return "case_" + std::to_string(info.index);
    });

class NumberBoxTest : public ::testing::Test {
  protected:
    WindowUnderTest window_;
};

TEST_F(NumberBoxTest, BackspacePassesTheFilter) {
    const HWND box = window_.control(ControlId::编辑框1);
    SetWindowTextW(box, L"");
    ASSERT_TRUE(focus_control(window_.window(), box));
    type_text(L"123");
    ASSERT_TRUE(pump_until(&window_.window(), [&] { return window_text(box) == L"123"; }));
    press_key(VK_BACK);
    EXPECT_TRUE(pump_until(&window_.window(), [&] { return window_text(box) == L"12"; }));
}

TEST_F(NumberBoxTest, APasteIsShownAsPastedUntilTheFocusLeaves) {
    const HWND box = window_.control(ControlId::编辑框2);
    ASSERT_TRUE(OpenClipboard(window_.handle()));
    EmptyClipboard();
    const std::wstring pasted = L"1.2.3";
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
    ASSERT_NE(memory, nullptr);
    std::copy_n(pasted.c_str(), pasted.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();

    ASSERT_TRUE(focus_control(window_.window(), box));
    // Ctrl+V, as the user presses it.
    INPUT keys[4] = {};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
    }
    keys[0].ki.wVk = VK_CONTROL;
    keys[1].ki.wVk = 'V';
    keys[2].ki.wVk = 'V';
    keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
    keys[3].ki.wVk = VK_CONTROL;
    keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, keys, sizeof(INPUT));
    ASSERT_TRUE(pump_until(&window_.window(), [&] { return window_text(box) == L"1.2.3"; }))
        << utf8(window_text(box));

    press_key(VK_TAB);
    EXPECT_TRUE(pump_until(&window_.window(), [&] { return window_text(box) == L"1"; }))
        << utf8(window_text(box));
}

struct Correction {
    ControlId box;
    const wchar_t* text;
    DWORD selection_start;
    const wchar_t* corrected;
    DWORD caret;
};

class FocusLossTest : public ::testing::TestWithParam<Correction> {
  protected:
    WindowUnderTest window_;
};

TEST_P(FocusLossTest, TextIsReadClampedAndWrittenBackWhenTheFocusLeaves) {
    const Correction& c = GetParam();
    const HWND box = window_.control(c.box);
    ASSERT_TRUE(focus_control(window_.window(), box));
    SetWindowTextW(box, c.text);
    SendMessageW(box, EM_SETSEL, c.selection_start, static_cast<LPARAM>(c.selection_start));

    ASSERT_TRUE(focus_control(window_.window(), window_.control(ControlId::编辑框5)));
    EXPECT_EQ(window_text(box), c.corrected);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, c.caret);
    EXPECT_EQ(end, c.caret);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, FocusLossTest,
    ::testing::Values(
        Correction{ControlId::编辑框1, L"0", 1, L"", 0},
        Correction{ControlId::编辑框1, L"-0", 2, L"", 0},
        Correction{ControlId::编辑框1, L"007", 3, L"7", 1},
        Correction{ControlId::编辑框1, L"007", 0, L"7", 0},
        Correction{ControlId::编辑框1, L"32768", 2, L"32767", 2},
        Correction{ControlId::编辑框1, L"-32769", 6, L"-32768", 6},
        Correction{ControlId::编辑框1, L"99999", 5, L"32767", 5},
        Correction{ControlId::编辑框1, L"12ab", 4, L"12", 2},
        Correction{ControlId::编辑框2, L"  42", 4, L"42", 2},
        Correction{ControlId::编辑框2, L"--5", 1, L"", 0},
        Correction{ControlId::编辑框3, L"2147483648", 10, L"2147483647", 10},
        Correction{ControlId::编辑框3, L"-99999999999999999999999", 3, L"-2147483648", 3},
        // Already what the correction gives: the box is left alone, selection and all.
        Correction{ControlId::编辑框3, L"80", 1, L"80", 1},
        Correction{ControlId::编辑框2, L"", 0, L"", 0}),
    [](const ::testing::TestParamInfo<Correction>& info) {
        return "case_" + std::to_string(info.index);
    });

}  // namespace
}  // namespace proxylist::testing
