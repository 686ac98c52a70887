// The whole road of a list: the real main window with its handlers, a click on "提取", a
// service on loopback, the list in 编辑框4, a click on "保存", the bytes of ip.txt.
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "loopback_http_server.hpp"
#include "window_fixture.hpp"

#ifndef Q_MOC_RUN
#include "app/click_handlers.hpp"
#include "app/window_created.hpp"
#include "ui/qt/event_wiring.hpp"
#include "ui/qt/qt_controls.hpp"
#include "ui/qt/visual_style.hpp"
#endif

namespace proxylist::testing {

using namespace std::chrono_literals;
using test_support::http_response;
using test_support::LoopbackHttpServer;
using test_support::request_target;
using test_support::ScriptedAnswer;

namespace {

const std::string kPage =
    "<html><head><title>\xB4\xFA\xC0\xED</title></head></html>"
    "192.0.2.1:80<br>\r\n198.51.100.7:8080<br>\r\n203.0.113.9:3128<br>\r\n";
const QByteArray kList = "192.0.2.1:80\r\n198.51.100.7:8080\r\n203.0.113.9:3128\r\n";
const std::string kInitialTarget = "/get_ip.php?sxb=%B1%B1%BE%A9&tqsl=10&ports=&ktip=&sxa=&submit=";

}  // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void extraction_shows_the_list_and_busy_button_meanwhile();
    void double_click_makes_one_request();
    void failed_fetch_empties_an_earlier_list();
    void save_writes_the_extracted_list();
    void save_during_an_extraction_writes_the_whole_old_text();

  private:
    void start(const std::string& service_url);
    QByteArray list_bytes() { return bytes(controls_->edit_text(ControlId::编辑框4)); }
    QByteArray saved_file();
    QPushButton* extract_button() { return window_->push_button(ControlId::按钮1); }

    std::unique_ptr<LoopbackHttpServer> server_;
    QTemporaryDir run_directory_;
    std::unique_ptr<MainWindow> window_;
    std::shared_ptr<QtControls> controls_;
    AppContext app_;
};

void EndToEndTest::initTestCase() {
    // Every request here goes straight to loopback, whatever the machine's proxy settings.
    for (const char* name :
         {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) {
        ::unsetenv(name);
    }
    prepare_application();
}

void EndToEndTest::init() {
    server_ = std::make_unique<LoopbackHttpServer>();
    server_->answer_always(ScriptedAnswer{.bytes = http_response(200, "", kPage), .delay = 400ms});
}

void EndToEndTest::start(const std::string& service_url) {
    QVERIFY(run_directory_.isValid());
    window_ = make_main_window();
    controls_ = std::make_shared<QtControls>(*window_);
    app_.controls = controls_;
    app_.run_directory = FilePath{Text(run_directory_.path().toStdString()), {}};
    app_.service_url = Text(service_url);
    app_.fetch_timeouts = {5000ms, 5000ms, 5000ms, 10000ms};
    wire_click_handlers(*window_, app_);
    QtVisualStyle style;
    handle_window_created(style, *controls_);
    QVERIFY(show_and_activate(*window_));
}

void EndToEndTest::cleanup() {
    // Let a running worker finish against a live window before the window goes.
    if (window_) {
        QTRY_VERIFY_WITH_TIMEOUT(extract_button()->isEnabled(), 15000);
    }
    window_.reset();
    app_.controls.reset();
    controls_.reset();
    server_.reset();
    QFile::remove(run_directory_.filePath(QStringLiteral("ip.txt")));
}

QByteArray EndToEndTest::saved_file() {
    QFile saved(run_directory_.filePath(QStringLiteral("ip.txt")));
    return saved.open(QIODevice::ReadOnly) ? saved.readAll() : QByteArray("(no file)");
}

void EndToEndTest::extraction_shows_the_list_and_busy_button_meanwhile() {
    start(server_->url("/get_ip.php"));
    QTest::mouseClick(extract_button(), Qt::LeftButton);

    // While the service holds its answer the button is busy and the window keeps answering.
    // Waiting with the event loop running: the worker reaches the window through it.
    QTRY_VERIFY_WITH_TIMEOUT(!server_->requests().empty(), 5000);
    QCOMPARE(extract_button()->text(), QStringLiteral("提取中"));
    QVERIFY(!extract_button()->isEnabled());

    QTRY_COMPARE_WITH_TIMEOUT(list_bytes(), kList, 10000);
    QTRY_VERIFY(extract_button()->isEnabled());
    QCOMPARE(extract_button()->text(), QStringLiteral("提取"));
    QCOMPARE(request_target(server_->requests().at(0)), kInitialTarget);
}

void EndToEndTest::double_click_makes_one_request() {
    start(server_->url("/get_ip.php"));
    QTest::mouseClick(extract_button(), Qt::LeftButton);
    QTest::mouseClick(extract_button(), Qt::LeftButton);
    QTest::mouseDClick(extract_button(), Qt::LeftButton);

    QTRY_COMPARE_WITH_TIMEOUT(list_bytes(), kList, 10000);
    QTRY_VERIFY(extract_button()->isEnabled());
    QTest::qWait(300);  // room for a second request, were one on its way
    QCOMPARE(server_->requests().size(), std::size_t{1});
}

void EndToEndTest::failed_fetch_empties_an_earlier_list() {
    const std::string closed_url = server_->url("/get_ip.php");
    server_.reset();  // nothing listens there any more
    start(closed_url);
    controls_->set_edit_text(ControlId::编辑框4, "192.0.2.1:80\r\n");

    QTest::mouseClick(extract_button(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(extract_button()->isEnabled(), 10000);
    QCOMPARE(list_bytes(), QByteArray());
    QCOMPARE(extract_button()->text(), QStringLiteral("提取"));
}

void EndToEndTest::save_writes_the_extracted_list() {
    start(server_->url("/get_ip.php"));
    QTest::mouseClick(extract_button(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(list_bytes(), kList, 10000);

    QTest::mouseClick(window_->push_button(ControlId::按钮2), Qt::LeftButton);
    QCOMPARE(saved_file(), kList);
}

void EndToEndTest::save_during_an_extraction_writes_the_whole_old_text() {
    start(server_->url("/get_ip.php"));
    const QByteArray old_text = "\xB1\xB1\xBE\xA9 old list\r\n1.2.3.4:5";  // 北京 ...
    controls_->set_edit_text(ControlId::编辑框4, Text(old_text.toStdString()));

    QTest::mouseClick(extract_button(), Qt::LeftButton);
    // Waiting with the event loop running: the worker reaches the window through it.
    QTRY_VERIFY_WITH_TIMEOUT(!server_->requests().empty(), 5000);
    QTest::mouseClick(window_->push_button(ControlId::按钮2), Qt::LeftButton);
    QCOMPARE(saved_file(), old_text);

    QTRY_COMPARE_WITH_TIMEOUT(list_bytes(), kList, 10000);
    QTest::mouseClick(window_->push_button(ControlId::按钮2), Qt::LeftButton);
    QCOMPARE(saved_file(), kList);
}

}  // namespace proxylist::testing

QTEST_MAIN(proxylist::testing::EndToEndTest)
#include "end_to_end_test.moc"
