// The two buttons reach their handlers: "保存" writes the list beside the program, "提取" runs
// an extraction that shows the busy button and ends ready again.
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <memory>

#include "window_fixture.hpp"

#ifndef Q_MOC_RUN
#include "app/click_handlers.hpp"
#include "ui/qt/event_wiring.hpp"
#include "ui/qt/list_box.hpp"
#include "ui/qt/qt_controls.hpp"
#endif

namespace proxylist::testing {

class EventWiringTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepare_application(); }
    void init();
    void cleanup();

    void save_button_writes_the_list();
    void extract_button_runs_an_extraction();

  private:
    QTemporaryDir run_directory_;
    std::unique_ptr<MainWindow> window_;
    AppContext app_;
};

void EventWiringTest::init() {
    QVERIFY(run_directory_.isValid());
    window_ = make_main_window();
    app_.controls = std::make_shared<QtControls>(*window_);
    app_.run_directory = FilePath{Text(run_directory_.path().toStdString()), {}};
    // Nothing listens on the discard port here: the fetch fails at once.
    app_.service_url = Text("http://127.0.0.1:9/get_ip.php");
    const std::chrono::milliseconds short_wait(5000);
    app_.fetch_timeouts = {short_wait, short_wait, short_wait, short_wait};
    wire_click_handlers(*window_, app_);
    QVERIFY(show_and_activate(*window_));
}

void EventWiringTest::cleanup() {
    window_.reset();
    app_.controls.reset();
}

void EventWiringTest::save_button_writes_the_list() {
    window_->list_box(ControlId::编辑框4)->set_list_text(QStringLiteral("1.1.1.1:80\r\n北京"));

    QTest::mouseClick(window_->push_button(ControlId::按钮2), Qt::LeftButton);

    QFile saved(run_directory_.filePath(QStringLiteral("ip.txt")));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("1.1.1.1:80\r\n\xB1\xB1\xBE\xA9"));
}

void EventWiringTest::extract_button_runs_an_extraction() {
    QPushButton* button = window_->push_button(ControlId::按钮1);
    ListBox* list = window_->list_box(ControlId::编辑框4);
    list->set_list_text(QStringLiteral("old list"));

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->text(), QStringLiteral("提取中"));
    QVERIFY(!button->isEnabled());

    // A failed request ends as an empty list and a ready button.
    QTRY_VERIFY_WITH_TIMEOUT(button->isEnabled(), 30000);
    QCOMPARE(button->text(), QStringLiteral("提取"));
    QCOMPARE(list->list_text(), QString());
}

}  // namespace proxylist::testing

QTEST_MAIN(proxylist::testing::EventWiringTest)
#include "event_wiring_test.moc"
