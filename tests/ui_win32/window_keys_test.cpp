// The window's keys with real keyboard input: Tab and Shift+Tab round the tab order, Esc closes
// the window from any control, Enter inserts a line break in 编辑框4 only; the focus comes back
// when the window is activated again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/win32/window_keys.hpp"
#include "window_fixture.hpp"

namespace proxylist::testing {
namespace {

using enum ControlId;

TEST(NextInTabOrderTest, StepsThroughTheStopsAndWrapsBothWays) {
    const std::vector<ControlId> stops = {编辑框1, 编辑框2, 编辑框3, 编辑框4, 按钮2, 编辑框5};
    struct Step {
        std::optional<ControlId> from;
        bool forward;
        ControlId to;
    };
    const Step steps[] = {
        {编辑框1, true, 编辑框2},
        {编辑框4, true, 按钮2},
        {按钮2, true, 编辑框5},
        {编辑框5, true, 编辑框1},
        {编辑框1, false, 编辑框5},
        {编辑框5, false, 按钮2},
        // From a control that is no stop: the next stop after it in creation order.
        {按钮1, true, 按钮2},
        {按钮1, false, 编辑框4},
        {组合框1, true, 编辑框1},
        {组合框1, false, 编辑框5},
        {标签1, true, 编辑框1},
        {std::nullopt, true, 编辑框1},
        {std::nullopt, false, 编辑框5},
    };
    for (const Step& step : steps) {
        EXPECT_EQ(next_in_tab_order(stops, step.from, step.forward), step.to)
            << (step.from ? control_name(*step.from) : "none") << (step.forward ? " +" : " -");
    }
    EXPECT_EQ(next_in_tab_order({}, 编辑框1, true), std::nullopt);
}

class WindowKeysTest : public ::testing::Test {
  protected:
    // Presses the key and waits until the focus has left `from`.
    HWND focus_after(WORD key, bool shift, HWND from) {
        press_key(key, shift);
        pump_until(&window_.window(), [&] { return GetFocus() != from; });
        return GetFocus();
    }

    WindowUnderTest window_;
};

TEST_F(WindowKeysTest, FocusStartsInTheFirstBoxOfTheTabOrder) {
    EXPECT_TRUE(
        pump_until(&window_.window(), [&] { return GetFocus() == window_.control(编辑框1); }));
}

TEST_F(WindowKeysTest, TabGoesRoundTheTabStopsSkippingTheOtherControls) {
    window_.controls().set_edit_text(编辑框4, "192.0.2.1:80");
    ASSERT_TRUE(focus_control(window_.window(), window_.control(编辑框1)));
    const ControlId forward[] = {编辑框2, 编辑框3, 编辑框4, 按钮2, 编辑框5, 编辑框1};
    for (const ControlId expected : forward) {
        EXPECT_EQ(focus_after(VK_TAB, false, GetFocus()), window_.control(expected))
            << control_name(expected);
    }
    // 编辑框4 did not keep the Tab for itself.
    EXPECT_EQ(window_text(window_.control(编辑框4)), L"192.0.2.1:80");

    const ControlId backward[] = {编辑框5, 按钮2, 编辑框4, 编辑框3, 编辑框2, 编辑框1};
    for (const ControlId expected : backward) {
        EXPECT_EQ(focus_after(VK_TAB, true, GetFocus()), window_.control(expected))
            << control_name(expected);
    }
}

TEST_F(WindowKeysTest, TabFromAClickedButtonThatIsNoStopGoesToTheNextStop) {
    window_.run_handlers(false);
    click(window_.control(按钮1));
    ASSERT_TRUE(pump_until(&window_.window(), [&] { return !window_.clicks().empty(); }));
    ASSERT_EQ(GetFocus(), window_.control(按钮1));
    EXPECT_EQ(focus_after(VK_TAB, false, GetFocus()), window_.control(按钮2));
}

TEST_F(WindowKeysTest, EnterInAOneLineBoxNeitherMovesTheFocusNorClicks) {
    window_.run_handlers(false);
    for (const ControlId box : {编辑框1, 编辑框5}) {
        const HWND control = window_.control(box);
        ASSERT_TRUE(focus_control(window_.window(), control));
        const std::wstring before = window_text(control);
        press_key(VK_RETURN);
        // Something that does arrive, after the Enter.
        type_text(L"7");
        ASSERT_TRUE(pump_until(&window_.window(), [&] { return window_text(control) != before; }));
        EXPECT_EQ(GetFocus(), control);
        EXPECT_EQ(window_text(control).find(L'\r'), std::wstring::npos);
    }
    EXPECT_TRUE(window_.clicks().empty());
}

TEST_F(WindowKeysTest, EnterInTheListBoxInsertsALineBreak) {
    const HWND list = window_.control(编辑框4);
    ASSERT_TRUE(focus_control(window_.window(), list));
    type_text(L"a");
    press_key(VK_RETURN);
    type_text(L"b");
    EXPECT_TRUE(pump_until(&window_.window(), [&] { return window_text(list) == L"a\r\nb"; }))
        << utf8(window_text(list));
}

TEST_F(WindowKeysTest, ALongLineWrapsInTheListBoxInsteadOfScrollingSideways) {
    const HWND list = window_.control(编辑框4);
    window_.controls().set_edit_text(编辑框4, std::string(200, '7').c_str());
    EXPECT_GT(SendMessageW(list, EM_GETLINECOUNT, 0, 0), 1);
}

TEST_F(WindowKeysTest, TheDropDownListCannotBeTypedInto) {
    const HWND combo = window_.control(组合框1);
    ASSERT_TRUE(focus_control(window_.window(), combo));
    type_text(L"abc123");
    pump_for(&window_.window(), 200ms);
    const std::wstring shown = window_text(combo);
    EXPECT_TRUE(shown == L"全部运营商" || shown == L"电信" || shown == L"联通" || shown == L"移动")
        << utf8(shown);
}

TEST_F(WindowKeysTest, FocusComesBackWhenTheWindowIsActivatedAgain) {
    const HWND box = window_.control(编辑框3);
    ASSERT_TRUE(focus_control(window_.window(), box));

    HWND other = CreateWindowExW(0, L"Static", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    SetForegroundWindow(other);
    ASSERT_TRUE(pump_until(&window_.window(), [&] { return GetForegroundWindow() == other; }));
    EXPECT_NE(GetFocus(), box);

    SetForegroundWindow(window_.handle());
    EXPECT_TRUE(pump_until(&window_.window(), [&] { return GetFocus() == box; }));
    DestroyWindow(other);
}

class EscapeTest : public ::testing::TestWithParam<ControlId> {
  protected:
    WindowUnderTest window_;
};

TEST_P(EscapeTest, EscClosesTheWindowWhicheverControlHasTheFocus) {
    ASSERT_TRUE(focus_control(window_.window(), window_.control(GetParam())));
    press_key(VK_ESCAPE);
    EXPECT_TRUE(pump_until(&window_.window(), [&] { return window_.destroyed(); }));
    EXPECT_EQ(window_.handle(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Controls, EscapeTest,
                         ::testing::Values(编辑框1, 编辑框3, 编辑框4, 按钮2, 编辑框5, 组合框1),
                         [](const ::testing::TestParamInfo<ControlId>& info) {
                             return "control_" + std::to_string(static_cast<int>(info.param));
                         });

}  // namespace
}  // namespace proxylist::testing
