// The extraction worker against a window that is in use, and one that closes under it. The
// worker runs as the click starts it (a detached thread); the window side is this thread. Run
// under ThreadSanitizer these show any access of the core that the two do not order.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "app/click_handlers.hpp"
#include "loopback_http_server.hpp"
#include "observed_controls.hpp"

using namespace proxylist;
using namespace std::chrono_literals;
using proxylist::test_support::http_response;
using proxylist::test_support::LoopbackHttpServer;
using proxylist::test_support::ScriptedAnswer;
using proxylist::testing::ObservedControls;

namespace {

// Bounds for a loaded machine: they only end a test that has already failed.
constexpr auto generous = 30s;

const std::string beijing = "\xB1\xB1\xBE\xA9";
const std::string list_page = "<html>x</html>192.0.2.1:80<br>198.51.100.7:8080<br>";

struct Window {
    explicit Window(const LoopbackHttpServer& server)
        : controls(std::make_shared<ObservedControls>(std::move(released_promise))) {
        controls->put(ControlId::编辑框1, "10");
        controls->put(ControlId::编辑框5, Text(beijing));
        app.controls = controls;
        app.service_url = Text(server.url("/get_ip.php"));
        app.fetch_timeouts = {10000ms, 10000ms, 10000ms, 20000ms};
    }

    std::promise<std::vector<std::string>> released_promise;
    std::future<std::vector<std::string>> released = released_promise.get_future();
    std::shared_ptr<ObservedControls> controls;
    AppContext app;
};

bool contains(const std::vector<std::string>& log, const std::string& entry) {
    return std::find(log.begin(), log.end(), entry) != log.end();
}

}  // namespace

TEST(ExtractionConcurrency, WorkerAndWindowUseTheControlsAtOnce) {
    LoopbackHttpServer server;
    server.answer_always(
        ScriptedAnswer{.bytes = http_response(200, "", list_page), .delay = 200ms});
    Window window(server);
    handle_extract_click(window.app);

    // What a user does meanwhile: type in the boxes, pick a carrier, look at the list.
    const auto deadline = std::chrono::steady_clock::now() + generous;
    int rounds = 0;
    while (!window.controls->ready_within(1ms) && std::chrono::steady_clock::now() < deadline) {
        window.controls->set_edit_text(ControlId::编辑框3, Text(std::to_string(rounds)));
        window.controls->set_combo_current_item(ControlId::组合框1, rounds % 4);
        static_cast<void>(window.controls->edit_text(ControlId::编辑框4));
        static_cast<void>(window.controls->edit_text(ControlId::编辑框1));
        ++rounds;
    }
    ASSERT_TRUE(window.controls->ready_within(0ms));
    EXPECT_EQ(window.controls->text(ControlId::编辑框4),
              Text("192.0.2.1:80\r\n198.51.100.7:8080\r\n"));
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST(ExtractionConcurrency, WorkerOutlivesTheWindowThatClosedDuringTheFetch) {
    LoopbackHttpServer server;
    server.answer_always(
        ScriptedAnswer{.bytes = http_response(200, "", list_page), .delay = 300ms});
    std::future<std::vector<std::string>> released;
    {
        Window window(server);
        released = std::move(window.released);
        handle_extract_click(window.app);
        // The worker has read the filters and waits for the answer when the window closes.
        ASSERT_TRUE(server.wait_for_requests(1, generous));
        window.controls->window_gone();
    }  // the window's own hold on the controls ends here; the worker's goes on

    ASSERT_EQ(released.wait_for(generous), std::future_status::ready)
        << "the worker never let go of the controls";
    const std::vector<std::string> log = released.get();
    EXPECT_TRUE(contains(log, "read 编辑框2"));
    EXPECT_FALSE(contains(log, "set 编辑框4")) << "the list reached a closed window";
    EXPECT_FALSE(contains(log, "enable 按钮1"));
}

TEST(ExtractionConcurrency, WindowClosesAsTheClickStartsTheWorker) {
    LoopbackHttpServer server;
    server.answer_always(ScriptedAnswer{.bytes = http_response(200, "", list_page)});
    std::future<std::vector<std::string>> released;
    {
        Window window(server);
        released = std::move(window.released);
        handle_extract_click(window.app);
        window.controls->window_gone();
    }
    // Whatever the worker had read by then, it ends and lets go of the controls.
    ASSERT_EQ(released.wait_for(generous), std::future_status::ready)
        << "the worker never let go of the controls";
    EXPECT_FALSE(contains(released.get(), "set 编辑框4"));
}

TEST(ExtractionConcurrency, ExtractionsOneAfterAnotherEachEndReady) {
    LoopbackHttpServer server;
    server.answer_always(ScriptedAnswer{.bytes = http_response(200, "", list_page)});
    Window window(server);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        handle_extract_click(window.app);
        ASSERT_TRUE(window.controls->ready_within(generous));
    }
    EXPECT_EQ(server.requests().size(), 5u);
}
