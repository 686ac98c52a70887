// The real window and handlers against a service on loopback:
//  1. click to list for an answer of 10 000 addresses, beside the curl program fetching the
//     same URL (medians of several runs);
//  2. the GUI thread's longest stall while a slow extraction runs, and while the large list
//     goes into 编辑框4: a 1 ms timer notes every gap between its ticks.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "demo_reply.hpp"
#include "loopback_http_server.hpp"

#ifndef Q_MOC_RUN
#include "app/click_handlers.hpp"
#include "app/layout.hpp"
#include "app/window_created.hpp"
#include "ui/qt/event_wiring.hpp"
#include "ui/qt/gui_font.hpp"
#include "ui/qt/main_window.hpp"
#include "ui/qt/qt_controls.hpp"
#include "ui/qt/visual_style.hpp"
#endif

using namespace proxylist;
using namespace std::chrono_literals;
using test_support::LoopbackHttpServer;
using test_support::ScriptedAnswer;

namespace {

constexpr int kRuns = 15;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs the event loop until the extraction is over; the longest gap between 1 ms ticks, in ms.
double run_until_ready(QPushButton& button, Controls& controls, double* elapsed_ms) {
    QElapsedTimer clock;
    clock.start();
    double longest_gap = 0;
    qint64 last_tick = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest_gap = std::max(longest_gap, (now - last_tick) / 1e6);
        last_tick = now;
    });
    ticker.start(1);
    button.click();
    while (!button.isEnabled() || controls.edit_text(ControlId::编辑框4).empty()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    *elapsed_ms = clock.nsecsElapsed() / 1e6;
    // The gap that ends with the list's arrival is measured by the tick after it.
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return std::max(longest_gap, (clock.nsecsElapsed() - last_tick) / 1e6 - 1.0);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) {
        ::unsetenv(name);
    }
    QApplication application(argc, argv);
    use_default_gui_font();

    LoopbackHttpServer server;
    demo::ServiceOptions plain;
    server.set_handler([&](const std::string& request) {
        return ScriptedAnswer{.bytes =
                                  demo::demo_answer(test_support::request_target(request), plain)};
    });

    MainWindow window(main_window_layout(), main_window_controls());
    auto controls = std::make_shared<QtControls>(window);
    AppContext app;
    app.controls = controls;
    app.service_url = Text(server.url("/get_ip.php"));
    wire_click_handlers(window, app);
    QtVisualStyle style;
    handle_window_created(style, *controls);
    window.show_centred();
    QPushButton& extract = *window.push_button(ControlId::按钮1);

    // 1. 10 000 addresses.
    controls->set_edit_text(ControlId::编辑框1, "10000");
    std::vector<double> click_to_list;
    std::vector<double> stalls_large;
    for (int i = 0; i < kRuns; ++i) {
        controls->set_edit_text(ControlId::编辑框4, Text());
        double elapsed = 0;
        stalls_large.push_back(run_until_ready(extract, *controls, &elapsed));
        click_to_list.push_back(elapsed);
    }
    const std::size_t lines = [&] {
        const auto list = controls->edit_text(ControlId::编辑框4).view();
        return static_cast<std::size_t>(std::count(list.begin(), list.end(), '\n'));
    }();

    // What of that is the list box taking the text (on the GUI thread).
    const Text large_list = controls->edit_text(ControlId::编辑框4);
    std::vector<double> set_times;
    for (int i = 0; i < kRuns; ++i) {
        controls->set_edit_text(ControlId::编辑框4, Text());
        QElapsedTimer clock;
        clock.start();
        controls->set_edit_text(ControlId::编辑框4, large_list);
        QApplication::processEvents();
        set_times.push_back(clock.nsecsElapsed() / 1e6);
    }

    const std::string url =
        server.url("/get_ip.php?sxb=%B1%B1%BE%A9&tqsl=10000&ports=&ktip=&sxa=&submit=");
    std::vector<double> curl_times;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer clock;
        clock.start();
        const std::string command = "curl -s -o /dev/null '" + url + "'";
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "curl failed\n");
        }
        curl_times.push_back(clock.nsecsElapsed() / 1e6);
    }

    // 2. A slow answer: the service holds it for 2 s.
    server.set_handler([&](const std::string& request) {
        return ScriptedAnswer{
            .bytes = demo::demo_answer(test_support::request_target(request), plain),
            .delay = 2000ms};
    });
    controls->set_edit_text(ControlId::编辑框1, "10");
    std::vector<double> stalls_slow;
    for (int i = 0; i < 3; ++i) {
        controls->set_edit_text(ControlId::编辑框4, Text());
        double elapsed = 0;
        stalls_slow.push_back(run_until_ready(extract, *controls, &elapsed));
    }

    std::printf("click to list, %zu addresses over loopback (median of %d): %8.2f ms\n", lines,
                kRuns, median(click_to_list));
    std::printf("curl program, same URL                   (median of %d): %8.2f ms\n", kRuns,
                median(curl_times));
    std::printf("ratio click-to-list / curl: %.2f\n", median(click_to_list) / median(curl_times));
    std::printf("of which 编辑框4 taking the list and painting  (median of %d): %8.2f ms\n", kRuns,
                median(set_times));
    std::printf(
        "GUI thread longest stall, 10 000-address extraction: median %.1f ms, worst %.1f ms\n",
        median(stalls_large), *std::max_element(stalls_large.begin(), stalls_large.end()));
    std::printf("GUI thread longest stall, slow (2 s) extraction:      worst of 3 %.1f ms\n",
                *std::max_element(stalls_slow.begin(), stalls_slow.end()));
    std::fflush(stdout);
    std::_Exit(0);  // as the program does: no teardown racing anything
}
