// fetch_page that gives up on its exchange while the exchange thread is still inside the HTTP
// client. The record the two share must stay valid for the exchange until it ends, and nothing
// the exchange does after the wait may reach the caller. Each test waits until the exchange
// threads have really ended, so that ThreadSanitizer sees their last steps too.
#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "loopback_http_server.hpp"
#include "service/page_fetch.hpp"

using namespace proxylist;
using namespace std::chrono_literals;
using proxylist::test_support::http_response;
using proxylist::test_support::LoopbackHttpServer;
using proxylist::test_support::ScriptedAnswer;
using proxylist::test_support::silence;

namespace {

constexpr auto generous = 30s;

// The threads of the process. A sanitizer's runtime starts a helper thread of its own with the
// first thread the process makes; one made and ended first keeps it out of the counts.
std::size_t thread_count() {
    static const bool runtime_started = [] {
        std::thread([] {}).join();
        return true;
    }();
    static_cast<void>(runtime_started);
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/task")) {
        ++count;
    }
    return count;
}

// Whether the process is back to `count` threads within the bound: every thread started
// since has ended.
bool threads_back_to(std::size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + generous;
    while (thread_count() > count) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

FetchTimeouts waiting(std::chrono::milliseconds wait) {
    return {.connect = 10000ms, .send = 10000ms, .receive = 60000ms, .wait = wait};
}

}  // namespace

TEST(AbandonedExchange, EndsAfterTheCallerGaveUpInTheHead) {
    const std::size_t before = thread_count();
    {
        LoopbackHttpServer server;
        // The first fetch of the process loads the HTTP client, which can take longer than
        // the second one's wait; with it loaded, the second request reaches the server.
        server.answer_in_turn(
            {ScriptedAnswer{.bytes = http_response(200, "", "page")}, silence(60s)});
        EXPECT_EQ(fetch_page(Text(server.url("/")), waiting(20000ms)), Text("page"));
        EXPECT_EQ(fetch_page(Text(server.url("/")), waiting(1000ms)), Text());
        EXPECT_TRUE(server.wait_for_requests(2, generous));
    }  // the server's silence ends with it
    EXPECT_TRUE(threads_back_to(before)) << "an abandoned exchange thread never ended";
}

TEST(AbandonedExchange, EndsAfterTheCallerGaveUpInTheBody) {
    const std::size_t before = thread_count();
    {
        LoopbackHttpServer server;
        const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n";
        server.answer_always(ScriptedAnswer{.bytes = head + "part of the body", .hold = 60s});
        EXPECT_EQ(fetch_page(Text(server.url("/")), waiting(300ms)), Text());
    }
    EXPECT_TRUE(threads_back_to(before)) << "an abandoned exchange thread never ended";
}

// Answers that come around the moment the wait runs out: some calls get the page, the others
// give up, and an exchange that ends just after its caller gave up has nowhere to write.
TEST(AbandonedExchange, AnswersThatRaceTheWait) {
    const std::size_t before = thread_count();
    {
        LoopbackHttpServer server;
        std::vector<ScriptedAnswer> answers;
        for (int delay = 0; delay <= 120; delay += 8) {
            answers.push_back(ScriptedAnswer{.bytes = http_response(200, "", "page"),
                                             .delay = std::chrono::milliseconds(delay)});
        }
        server.answer_in_turn(answers);
        int pages = 0;
        for (std::size_t i = 0; i < answers.size(); ++i) {
            const Text text = fetch_page(Text(server.url("/")), waiting(60ms));
            EXPECT_TRUE(text == Text("page") || text.empty()) << text.to_string();
            pages += text.empty() ? 0 : 1;
        }
        RecordProperty("pages", pages);
    }
    EXPECT_TRUE(threads_back_to(before)) << "an abandoned exchange thread never ended";
}
