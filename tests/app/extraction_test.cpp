#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "app/extraction.hpp"
#include "fake_controls.hpp"
#include "loopback_http_server.hpp"

using namespace proxylist;
using namespace std::chrono_literals;
using proxylist::test_support::http_response;
using proxylist::test_support::LoopbackHttpServer;
using proxylist::test_support::request_target;
using proxylist::test_support::ScriptedAnswer;
using proxylist::testing::FakeControls;

namespace {

constexpr const char* kBeijing = "\xB1\xB1\xBE\xA9";
constexpr const char* kBusy = "\xCC\xE1\xC8\xA1\xD6\xD0";  // 提取中
constexpr const char* kReady = "\xCC\xE1\xC8\xA1";         // 提取

// The window as the layout starts it.
void put_initial_values(FakeControls& controls) {
    controls.put(ControlId::编辑框1, "10");
    controls.put(ControlId::编辑框5, kBeijing);
    controls.select(0);
}

AppContext context_for(std::shared_ptr<FakeControls> controls, const LoopbackHttpServer& server) {
    AppContext app;
    app.controls = std::move(controls);
    app.service_url = Text(server.url("/get_ip.php"));
    app.fetch_timeouts = {5000ms, 5000ms, 5000ms, 10000ms};
    return app;
}

}  // namespace

TEST(ComposeQueryUrl, JoinsTheValuesAsTheyAre) {
    struct Row {
        const char* name;
        Text region, count, port, prefix, carrier;
        std::string expected_query;
    };
    const Row rows[] = {
        {"initial values",
         kBeijing,
         "10",
         {},
         {},
         {},
         "?sxb=\xB1\xB1\xBE\xA9&tqsl=10&ports=&ktip=&sxa=&submit="},
        {"everything empty", {}, {}, {}, {}, {}, "?sxb=&tqsl=&ports=&ktip=&sxa=&submit="},
        {"carrier",
         {},
         "5",
         "8080",
         "1",
         "\xB5\xE7\xD0\xC5",
         "?sxb=&tqsl=5&ports=8080&ktip=1&sxa=\xB5\xE7\xD0\xC5&submit="},
        {"structure characters stay",
         " a b ",
         "x",
         {},
         "1 &k=v",
         {},
         "?sxb= a b &tqsl=x&ports=&ktip=1 &k=v&sxa=&submit="},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(compose_query_url("http://h/get_ip.php", row.region, row.count, row.port,
                                    row.prefix, row.carrier)
                      .to_string(),
                  "http://h/get_ip.php" + row.expected_query);
    }
}

TEST(ExtractWorker, ServiceSeesTheFiltersPercentEscapedOnTheWire) {
    struct Row {
        const char* name;
        std::int32_t carrier_item;
        std::string prefix;
        std::string expected_target;
    };
    const Row rows[] = {
        {"initial values", 0, "", "/get_ip.php?sxb=%B1%B1%BE%A9&tqsl=10&ports=&ktip=&sxa=&submit="},
        {"电信", 1, "",
         "/get_ip.php?sxb=%B1%B1%BE%A9&tqsl=10&ports=&ktip=&sxa=%B5%E7%D0%C5&submit="},
        {"联通", 2, "",
         "/get_ip.php?sxb=%B1%B1%BE%A9&tqsl=10&ports=&ktip=&sxa=%C1%AA%CD%A8&submit="},
        {"移动", 3, "",
         "/get_ip.php?sxb=%B1%B1%BE%A9&tqsl=10&ports=&ktip=&sxa=%D2%C6%B6%AF&submit="},
        {"no current item", -1, "",
         "/get_ip.php?sxb=%B1%B1%BE%A9&tqsl=10&ports=&ktip=&sxa=&submit="},
        {"prefix as typed", 0, "1 &k=v",
         "/get_ip.php?sxb=%B1%B1%BE%A9&tqsl=10&ports=&ktip=1%20&k=v&sxa=&submit="},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        LoopbackHttpServer server;
        auto controls = std::make_shared<FakeControls>();
        put_initial_values(*controls);
        controls->select(row.carrier_item);
        controls->put(ControlId::编辑框2, Text(row.prefix));
        extract_worker(context_for(controls, server));
        ASSERT_EQ(server.requests().size(), 1u);
        EXPECT_EQ(request_target(server.requests()[0]), row.expected_target);
    }
}

TEST(ExtractWorker, ShowsTheCleanedListAndTheButtonComesBack) {
    LoopbackHttpServer server;
    server.answer_always(ScriptedAnswer{
        .bytes = http_response(
            200, "Content-Type: text/html\r\n",
            "<html>\xB4\xFA\xC0\xED</html>192.0.2.1:80<br>\r\n198.51.100.7:8080<br>")});
    auto controls = std::make_shared<FakeControls>();
    put_initial_values(*controls);
    extract_worker(context_for(controls, server));

    EXPECT_EQ(controls->text(ControlId::编辑框4), Text("192.0.2.1:80\r\n198.51.100.7:8080\r\n"));
    const std::vector<std::string> expected_steps = {
        std::string("caption 按钮1 ") + kBusy,
        "disable 按钮1",
        "read 组合框1",
        "read 组合框1",
        "read 组合框1",
        "read 组合框1",
        "read 编辑框5",
        "read 编辑框1",
        "read 编辑框3",
        "read 编辑框2",
        "set 编辑框4",
        std::string("caption 按钮1 ") + kReady,
        "enable 按钮1",
    };
    EXPECT_EQ(controls->log(), expected_steps);
}

TEST(ExtractWorker, FailedFetchEmptiesAnEarlierList) {
    std::string refused_url;
    {
        LoopbackHttpServer gone;
        refused_url = gone.url("/get_ip.php");
    }  // nothing listens there any more
    auto controls = std::make_shared<FakeControls>();
    put_initial_values(*controls);
    controls->put(ControlId::编辑框4, "192.0.2.1:80\r\n");
    AppContext app;
    app.controls = controls;
    app.service_url = Text(refused_url);
    app.fetch_timeouts = {5000ms, 5000ms, 5000ms, 10000ms};
    extract_worker(app);
    EXPECT_EQ(controls->text(ControlId::编辑框4), Text());
    EXPECT_EQ(controls->caption(ControlId::按钮1), Text(kReady));
    EXPECT_FALSE(controls->disabled(ControlId::按钮1));
}

TEST(HandleExtractClick, ButtonIsBusyBeforeTheHandlerReturns) {
    LoopbackHttpServer server;
    server.answer_always(
        ScriptedAnswer{.bytes = http_response(200, "", "</html>1.2.3.4:5<br>"), .delay = 300ms});
    auto controls = std::make_shared<FakeControls>();
    put_initial_values(*controls);
    handle_extract_click(context_for(controls, server));
    // No waiting: the handler itself has marked the button busy.
    EXPECT_TRUE(controls->disabled(ControlId::按钮1));
    EXPECT_EQ(controls->caption(ControlId::按钮1), Text(kBusy));

    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (controls->disabled(ControlId::按钮1) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_FALSE(controls->disabled(ControlId::按钮1));
    EXPECT_EQ(controls->text(ControlId::编辑框4), Text("1.2.3.4:5\r\n"));
    EXPECT_EQ(server.requests().size(), 1u);
}
