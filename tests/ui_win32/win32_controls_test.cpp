// Control property access on the real window: code page 936 texts through the ANSI calls, the
// combo clamp, the button's caption and state, calls from a worker thread (carried out by the
// UI thread while the worker waits), and calls after the window is gone.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/extraction.hpp"
#include "window_fixture.hpp"

namespace proxylist::testing {
namespace {

using enum ControlId;

constexpr const char* beijing = "\xB1\xB1\xBE\xA9";  // 北京 in code page 936

class Win32ControlsTest : public ::testing::Test {
  protected:
    WindowUnderTest window_;
};

TEST_F(Win32ControlsTest, ReadsWhatTheBoxShowsAsCodePage936Bytes) {
    EXPECT_EQ(window_.controls().edit_text(编辑框5), Text(beijing));
    EXPECT_EQ(window_.controls().edit_text(编辑框1), Text("10"));
}

TEST_F(Win32ControlsTest, AnEmptyBoxReadsAsTheAbsentText) {
    const Text text = window_.controls().edit_text(编辑框2);
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(text_byte_length(text), 0);
}

TEST_F(Win32ControlsTest, SetTextShowsExactlyThatTextAndTheAbsentTextEmptiesTheBox) {
    const Text list("192.0.2.1:80\r\n\xC9\xCF\xBA\xA3 198.51.100.7:8080\r\n");  // 上海
    window_.controls().set_edit_text(编辑框4, list);
    EXPECT_EQ(window_text(window_.control(编辑框4)), L"192.0.2.1:80\r\n上海 198.51.100.7:8080\r\n");
    EXPECT_EQ(window_.controls().edit_text(编辑框4), list);

    window_.controls().set_edit_text(编辑框5, Text());
    EXPECT_EQ(window_text(window_.control(编辑框5)), L"");
    EXPECT_TRUE(window_.controls().edit_text(编辑框5).empty());
}

TEST_F(Win32ControlsTest, ComboCurrentItemIsClampedToTheItems) {
    struct Case {
        std::int32_t asked;
        std::int32_t current;
    };
    const Case cases[] = {{2, 2}, {7, 3}, {3, 3}, {0, 0}, {-1, -1}, {1, 1}, {-5, -1}};
    for (const Case& c : cases) {
        window_.controls().set_combo_current_item(组合框1, c.asked);
        EXPECT_EQ(window_.controls().combo_current_item(组合框1), c.current) << c.asked;
        EXPECT_EQ(SendMessageW(window_.control(组合框1), CB_GETCURSEL, 0, 0), c.current);
    }
    window_.controls().set_combo_current_item(组合框1, -5);
    EXPECT_EQ(window_text(window_.control(组合框1)), L"");
}

TEST_F(Win32ControlsTest, ButtonCaptionAndDisabledState) {
    const HWND button = window_.control(按钮1);
    window_.controls().set_button_caption(按钮1, "\xCC\xE1\xC8\xA1\xD6\xD0");  // 提取中
    EXPECT_EQ(window_text(button), L"提取中");
    window_.controls().set_button_disabled(按钮1, true);
    EXPECT_FALSE(IsWindowEnabled(button));

    // Greyed out, it takes no click.
    window_.run_handlers(false);
    click(button);
    click(window_.control(按钮2));
    ASSERT_TRUE(pump_until(&window_.window(), [&] { return !window_.clicks().empty(); }));
    EXPECT_EQ(window_.clicks(), std::vector<ControlId>{按钮2});

    window_.controls().set_button_disabled(按钮1, false);
    EXPECT_TRUE(IsWindowEnabled(button));
}

TEST_F(Win32ControlsTest, AWorkerCallReturnsOnlyOnceTheUiThreadHasAnsweredIt) {
    std::atomic<bool> returned{false};
    Text read;
    auto controls = window_.app().controls;
    std::thread worker([&] {
        controls->set_edit_text(编辑框4, "\xB1\xB1\xBE\xA9\r\n");
        read = controls->edit_text(编辑框4);
        returned = true;
    });
    // While this thread runs no messages the worker's call cannot be carried out: however long
    // this pause, the worker is still waiting at its end.
    Sleep(300);
    EXPECT_FALSE(returned);
    EXPECT_TRUE(pump_until(&window_.window(), [&] { return returned.load(); }));
    worker.join();
    EXPECT_EQ(read, Text("\xB1\xB1\xBE\xA9\r\n"));
    EXPECT_EQ(window_text(window_.control(编辑框4)), L"北京\r\n");
}

TEST_F(Win32ControlsTest, EveryCallIsHarmlessOnceTheWindowIsGone) {
    auto controls = window_.app().controls;
    DestroyWindow(window_.handle());
    ASSERT_TRUE(window_.destroyed());
    std::thread worker([&] {
        EXPECT_TRUE(controls->edit_text(编辑框5).empty());
        EXPECT_EQ(controls->combo_current_item(组合框1), -1);
        controls->set_edit_text(编辑框4, "x");
        controls->set_combo_current_item(组合框1, 2);
        controls->set_button_caption(按钮1, "x");
        controls->set_button_disabled(按钮1, true);
    });
    worker.join();
    EXPECT_TRUE(controls->edit_text(编辑框5).empty());
}

TEST_F(Win32ControlsTest, ExtractClickShowsTheButtonBusyAtOnceAndReadyAfterwards) {
    // Nothing listens on port 9 of loopback: the fetch fails and the list ends empty.
    window_.app().service_url = Text("http://127.0.0.1:9/get_ip.php");
    window_.controls().set_edit_text(编辑框4, "old list");
    const HWND button = window_.control(按钮1);
    click(button);
    ASSERT_TRUE(pump_until(&window_.window(), [&] { return !window_.clicks().empty(); }));
    // Busy on the click itself, before the worker runs.
    EXPECT_EQ(window_text(button), L"提取中");
    EXPECT_FALSE(IsWindowEnabled(button));

    EXPECT_TRUE(pump_until(&window_.window(), [&] { return IsWindowEnabled(button) != FALSE; }));
    EXPECT_EQ(window_text(button), L"提取");
    EXPECT_EQ(window_text(window_.control(编辑框4)), L"");
}

}  // namespace
}  // namespace proxylist::testing
