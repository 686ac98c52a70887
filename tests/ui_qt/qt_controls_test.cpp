// Control property access: texts in code page 936, the combo box's current item, the button's
// caption and state; calls from a worker thread carried out on the GUI thread; late calls.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "window_fixture.hpp"

#ifndef Q_MOC_RUN
#include "ui/qt/list_box.hpp"
#include "ui/qt/qt_controls.hpp"
#endif

Q_DECLARE_METATYPE(proxylist::ControlId)

namespace proxylist::testing {
namespace {

// A call made on a thread of its own. Until it is done the GUI thread keeps answering, so
// that a failed test never leaves the worker blocked in a call nobody carries out. The call,
// with what it captured, is gone once the thread has ended.
template <typename Result>
class WorkerCall {
  public:
    template <typename Call>
    explicit WorkerCall(Call call)
        : thread_([this, call = std::move(call)]() mutable {
              result_ = call();
              done_.store(true);
          }) {}
    ~WorkerCall() {
        while (!done()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    WorkerCall(const WorkerCall&) = delete;
    WorkerCall& operator=(const WorkerCall&) = delete;

    [[nodiscard]] bool done() const { return done_.load(); }
    // Waits without answering calls: returns only if the call needed no GUI thread.
    Result wait_without_answering() {
        thread_.join();
        return result_;
    }
    // After done().
    Result get() {
        thread_.join();
        return result_;
    }

  private:
    Result result_{};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

}  // namespace

class QtControlsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepare_application(); }
    void init();
    void cleanup();

    void text_round_trips_data();
    void text_round_trips();
    void text_is_converted_to_code_page_936();
    void empty_box_reads_as_the_absent_text();
    void absent_text_empties_the_box();
    void setting_a_text_puts_the_caret_at_the_start();
    void combo_current_item_is_clamped_data();
    void combo_current_item_is_clamped();
    void button_caption_and_disabled_state();
    void worker_read_returns_only_after_the_gui_thread_answered();
    void worker_writes_are_carried_out_on_the_gui_thread();
    void late_access_after_close_is_harmless();
    void late_access_after_the_window_is_destroyed_is_harmless();
    void late_access_after_the_event_loop_ended_is_harmless();
    void controls_may_outlive_the_window();

  private:
    std::unique_ptr<MainWindow> window_;
    std::shared_ptr<QtControls> controls_;
};

void QtControlsTest::init() {
    window_ = make_main_window();
    controls_ = std::make_shared<QtControls>(*window_);
    QVERIFY(show_and_activate(*window_));
}

void QtControlsTest::cleanup() {
    controls_.reset();
    window_.reset();
}

void QtControlsTest::text_round_trips_data() {
    QTest::addColumn<ControlId>("id");
    QTest::addColumn<QByteArray>("utf8");
    using enum ControlId;
    const QList<QPair<const char*, QByteArray>> texts = {
        {"digits", "10"},
        {"chinese", "北京"},
        {"mixed", "abc 北京 123"},
        {"crlf lines", "1.1.1.1:80\r\n2.2.2.2:8080\r\n"},
        {"lone lf", "a\nb"},
        {"lone cr", "a\rb"},
        {"cr before crlf", "a\r\r\nb"},
        {"lf then cr", "a\n\rb"},
        {"only crlfs", "\r\n\r\n"},
        {"tab and spaces", " \t x \t "},
    };
    for (const ControlId id : {编辑框1, 编辑框4, 编辑框5}) {
        for (const auto& [name, text] : texts) {
            QTest::newRow((std::string(control_name(id)) + " " + name).c_str()) << id << text;
        }
    }
}

void QtControlsTest::text_round_trips() {
    QFETCH(ControlId, id);
    QFETCH(QByteArray, utf8);
    const Text text = cp936(utf8.constData());
    controls_->set_edit_text(id, text);
    QCOMPARE(bytes(controls_->edit_text(id)), bytes(text));
}

void QtControlsTest::text_is_converted_to_code_page_936() {
    // 北京 in code page 936.
    const Text beijing("\xB1\xB1\xBE\xA9");
    QCOMPARE(bytes(controls_->edit_text(ControlId::编辑框5)), bytes(beijing));
    controls_->set_edit_text(ControlId::编辑框2, beijing);
    QCOMPARE(window_->line_edit(ControlId::编辑框2)->text(), QStringLiteral("北京"));
    controls_->set_edit_text(ControlId::编辑框4, Text("\xB1\xB1\r\n\xBE\xA9"));
    QCOMPARE(window_->list_box(ControlId::编辑框4)->document()->blockCount(), 2);
    QCOMPARE(window_->list_box(ControlId::编辑框4)->toPlainText(), QStringLiteral("北\n京"));
}

void QtControlsTest::empty_box_reads_as_the_absent_text() {
    const Text empty = controls_->edit_text(ControlId::编辑框2);
    QVERIFY(empty.empty());
    QVERIFY(controls_->edit_text(ControlId::编辑框4).empty());
    QCOMPARE(bytes(controls_->edit_text(ControlId::编辑框1)), QByteArray("10"));
}

void QtControlsTest::absent_text_empties_the_box() {
    controls_->set_edit_text(ControlId::编辑框5, Text());
    QVERIFY(window_->line_edit(ControlId::编辑框5)->text().isEmpty());
    controls_->set_edit_text(ControlId::编辑框4, Text("x\r\ny"));
    controls_->set_edit_text(ControlId::编辑框4, Text());
    QVERIFY(window_->list_box(ControlId::编辑框4)->document()->isEmpty());
}

void QtControlsTest::setting_a_text_puts_the_caret_at_the_start() {
    controls_->set_edit_text(ControlId::编辑框5, Text("long text here"));
    QCOMPARE(window_->line_edit(ControlId::编辑框5)->cursorPosition(), 0);
    controls_->set_edit_text(ControlId::编辑框4, Text("a\r\nb\r\nc"));
    QCOMPARE(window_->list_box(ControlId::编辑框4)->textCursor().position(), 0);
}

void QtControlsTest::combo_current_item_is_clamped_data() {
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("current");
    QTest::newRow("first") << 0 << 0;
    QTest::newRow("last") << 3 << 3;
    QTest::newRow("above the last") << 7 << 3;
    QTest::newRow("far above") << INT32_MAX << 3;
    QTest::newRow("none") << -1 << -1;
    QTest::newRow("below none") << -5 << -1;
    QTest::newRow("far below") << INT32_MIN << -1;
}

void QtControlsTest::combo_current_item_is_clamped() {
    QFETCH(int, requested);
    QFETCH(int, current);
    controls_->set_combo_current_item(ControlId::组合框1, 1);
    controls_->set_combo_current_item(ControlId::组合框1, requested);
    QCOMPARE(controls_->combo_current_item(ControlId::组合框1), current);
    QCOMPARE(window_->combo_box(ControlId::组合框1)->currentIndex(), current);
}

void QtControlsTest::button_caption_and_disabled_state() {
    QPushButton* button = window_->push_button(ControlId::按钮1);
    controls_->set_button_caption(ControlId::按钮1, cp936("提取中"));
    controls_->set_button_disabled(ControlId::按钮1, true);
    QCOMPARE(button->text(), QStringLiteral("提取中"));
    QVERIFY(!button->isEnabled());
    controls_->set_button_caption(ControlId::按钮1, cp936("提取"));
    controls_->set_button_disabled(ControlId::按钮1, false);
    QCOMPARE(button->text(), QStringLiteral("提取"));
    QVERIFY(button->isEnabled());
}

void QtControlsTest::worker_read_returns_only_after_the_gui_thread_answered() {
    QLineEdit* box = window_->line_edit(ControlId::编辑框5);
    box->setText(QStringLiteral("before"));
    WorkerCall<Text> read(
        [controls = controls_] { return controls->edit_text(ControlId::编辑框5); });

    // The GUI thread has not answered yet, so the worker is still waiting.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    QVERIFY(!read.done());
    // The user types meanwhile; the read gives what the box holds when it is answered.
    box->setText(QStringLiteral("after"));

    QTRY_VERIFY(read.done());
    QCOMPARE(bytes(read.get()), QByteArray("after"));
}

void QtControlsTest::worker_writes_are_carried_out_on_the_gui_thread() {
    WorkerCall<int> writes([controls = controls_] {
        controls->set_button_caption(ControlId::按钮1, Text("busy"));
        controls->set_button_disabled(ControlId::按钮1, true);
        controls->set_edit_text(ControlId::编辑框4, Text("1.1.1.1:80\r\n"));
        controls->set_combo_current_item(ControlId::组合框1, 2);
        return controls->combo_current_item(ControlId::组合框1);
    });
    QTRY_VERIFY(writes.done());
    QCOMPARE(writes.get(), 2);
    QCOMPARE(window_->push_button(ControlId::按钮1)->text(), QStringLiteral("busy"));
    QVERIFY(!window_->push_button(ControlId::按钮1)->isEnabled());
    QCOMPARE(window_->list_box(ControlId::编辑框4)->list_text(), QStringLiteral("1.1.1.1:80\r\n"));
}

void QtControlsTest::late_access_after_close_is_harmless() {
    window_->close();
    // A worker's calls now return at once, without the GUI thread answering them.
    WorkerCall<int> late([controls = controls_] {
        controls->set_edit_text(ControlId::编辑框4, Text("late"));
        controls->set_button_caption(ControlId::按钮1, Text("late"));
        controls->set_button_disabled(ControlId::按钮1, true);
        controls->set_combo_current_item(ControlId::组合框1, 2);
        const bool absent = controls->edit_text(ControlId::编辑框1).empty();
        return absent ? controls->combo_current_item(ControlId::组合框1) : 100;
    });
    QCOMPARE(late.wait_without_answering(), -1);
    // On the GUI thread too.
    QVERIFY(controls_->edit_text(ControlId::编辑框1).empty());
    QVERIFY(window_->list_box(ControlId::编辑框4)->document()->isEmpty());
    QVERIFY(window_->push_button(ControlId::按钮1)->isEnabled());
}

void QtControlsTest::late_access_after_the_window_is_destroyed_is_harmless() {
    window_.reset();
    QVERIFY(controls_->edit_text(ControlId::编辑框1).empty());
    controls_->set_edit_text(ControlId::编辑框1, Text("x"));
    QCOMPARE(controls_->combo_current_item(ControlId::组合框1), -1);
    WorkerCall<bool> late([controls = controls_] {
        controls->set_button_disabled(ControlId::按钮1, true);
        return controls->edit_text(ControlId::编辑框5).empty();
    });
    QVERIFY(late.wait_without_answering());
}

void QtControlsTest::late_access_after_the_event_loop_ended_is_harmless() {
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCOMPARE(QApplication::exec(), 0);
    WorkerCall<bool> late([controls = controls_] {
        return controls->edit_text(ControlId::编辑框1).empty() &&
               controls->combo_current_item(ControlId::组合框1) == -1;
    });
    QVERIFY(late.wait_without_answering());
}

void QtControlsTest::controls_may_outlive_the_window() {
    std::weak_ptr<QtControls> weak = controls_;
    std::promise<void> window_gone;
    WorkerCall<bool> worker([controls = controls_, gone = window_gone.get_future()]() mutable {
        gone.wait();
        return controls->edit_text(ControlId::编辑框2).empty();
    });
    controls_.reset();
    window_.reset();
    window_gone.set_value();
    // The worker holds the last share and lets go of it on its own thread.
    QVERIFY(worker.wait_without_answering());
    QVERIFY(weak.expired());
}

}  // namespace proxylist::testing

QTEST_MAIN(proxylist::testing::QtControlsTest)
#include "qt_controls_test.moc"
