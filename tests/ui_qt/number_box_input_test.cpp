// The whole-number boxes with real key and input-method events: the typing filter, the paste
// that is not filtered, the correction when the focus leaves.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "window_fixture.hpp"

#ifndef Q_MOC_RUN
#include "app/layout.hpp"
#endif

Q_DECLARE_METATYPE(proxylist::ControlId)

namespace proxylist::testing {

class NumberBoxInputTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepare_application(); }
    void init();
    void cleanup() { window_.reset(); }

    void typing_passes_only_digits_and_minus_data();
    void typing_passes_only_digits_and_minus();
    void editing_keys_still_work();
    void input_method_commit_goes_through_the_filter_data();
    void input_method_commit_goes_through_the_filter();
    void paste_is_not_filtered_until_the_focus_leaves();
    void focus_loss_corrects_the_text_data();
    void focus_loss_corrects_the_text();
    void caret_goes_to_where_the_selection_started();
    void a_context_menu_does_not_correct();
    void free_text_box_takes_everything();
    void every_box_that_takes_text_takes_an_input_method();

  private:
    QLineEdit* focus_box(ControlId id);

    std::unique_ptr<MainWindow> window_;
};

void NumberBoxInputTest::init() {
    window_ = make_main_window();
    QVERIFY(show_and_activate(*window_));
}

// Types each character as a key press of its own; QTest's own typing knows only ASCII keys.
void type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

QLineEdit* NumberBoxInputTest::focus_box(ControlId id) {
    QLineEdit* box = window_->line_edit(id);
    box->setFocus(Qt::MouseFocusReason);
    if (!QTest::qWaitFor([box] { return QApplication::focusWidget() == box; })) {
        return nullptr;
    }
    box->clear();
    return box;
}

void NumberBoxInputTest::typing_passes_only_digits_and_minus_data() {
    QTest::addColumn<ControlId>("id");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    using enum ControlId;
    for (const ControlId id : {编辑框1, 编辑框2, 编辑框3}) {
        const std::string name(control_name(id));
        QTest::newRow((name + " digits and minus").c_str()) << id << "-123"
                                                            << "-123";
        QTest::newRow((name + " letters").c_str()) << id << "abcXYZ"
                                                   << "";
        QTest::newRow((name + " dot and space").c_str()) << id << "1. 2"
                                                         << "12";
        QTest::newRow((name + " plus").c_str()) << id << "+5"
                                                << "5";
        QTest::newRow((name + " chinese").c_str()) << id << "中文8"
                                                   << "8";
        QTest::newRow((name + " full-width digits").c_str()) << id << "１２"
                                                             << "";
    }
}

void NumberBoxInputTest::typing_passes_only_digits_and_minus() {
    QFETCH(ControlId, id);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QLineEdit* box = focus_box(id);
    QVERIFY(box != nullptr);
    type(box, typed);
    QCOMPARE(box->text(), shown);
}

void NumberBoxInputTest::editing_keys_still_work() {
    QLineEdit* box = focus_box(ControlId::编辑框1);
    QVERIFY(box != nullptr);
    QTest::keyClicks(box, "1234");
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClick(box, Qt::Key_Right);
    QTest::keyClicks(box, "9");
    QCOMPARE(box->text(), QStringLiteral("293"));
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("293"));
}

void NumberBoxInputTest::input_method_commit_goes_through_the_filter_data() {
    QTest::addColumn<QString>("commit");
    QTest::addColumn<QString>("shown");
    QTest::newRow("chinese") << QStringLiteral("中文") << QString();
    QTest::newRow("digits") << QStringLiteral("12") << QStringLiteral("12");
    QTest::newRow("mixed") << QStringLiteral("1号2") << QStringLiteral("12");
    QTest::newRow("full-width digits") << QStringLiteral("１２") << QString();
}

void NumberBoxInputTest::input_method_commit_goes_through_the_filter() {
    QFETCH(QString, commit);
    QFETCH(QString, shown);
    QLineEdit* box = focus_box(ControlId::编辑框2);
    QVERIFY(box != nullptr);
    QInputMethodEvent composing(QStringLiteral("zhong"), {});
    QApplication::sendEvent(box, &composing);
    QInputMethodEvent committed;
    committed.setCommitString(commit);
    QApplication::sendEvent(box, &committed);
    QCOMPARE(box->text(), shown);
}

void NumberBoxInputTest::paste_is_not_filtered_until_the_focus_leaves() {
    QLineEdit* box = focus_box(ControlId::编辑框2);
    QVERIFY(box != nullptr);
    QGuiApplication::clipboard()->setText(QStringLiteral("1.2.3"));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), QStringLiteral("1.2.3"));

    QTest::keyClick(box, Qt::Key_Tab);

    QCOMPARE(QApplication::focusWidget(), window_->control(ControlId::编辑框3));
    QCOMPARE(box->text(), QStringLiteral("1"));
}

void NumberBoxInputTest::focus_loss_corrects_the_text_data() {
    QTest::addColumn<ControlId>("id");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");
    using enum ControlId;
    QTest::newRow("zero") << 编辑框1 << "0"
                          << "";
    QTest::newRow("minus zero") << 编辑框1 << "-0"
                                << "";
    QTest::newRow("leading zeros") << 编辑框1 << "007"
                                   << "7";
    QTest::newRow("pasted letters") << 编辑框1 << "12ab"
                                    << "12";
    QTest::newRow("past short max") << 编辑框1 << "32768"
                                    << "32767";
    QTest::newRow("past short min") << 编辑框1 << "-32769"
                                    << "-32768";
    QTest::newRow("five nines") << 编辑框1 << "99999"
                                << "32767";
    QTest::newRow("pasted dots") << 编辑框2 << "1.2.3"
                                 << "1";
    QTest::newRow("short box, int value") << 编辑框2 << "2147483647"
                                          << "32767";
    QTest::newRow("past int max") << 编辑框3 << "2147483648"
                                  << "2147483647";
    QTest::newRow("past int min") << 编辑框3 << "-2147483649"
                                  << "-2147483648";
    QTest::newRow("port unchanged") << 编辑框3 << "80"
                                    << "80";
    QTest::newRow("beyond 64 bits") << 编辑框3 << "123456789012345678901234567890"
                                    << "2147483647";
    QTest::newRow("beyond 64 bits negative") << 编辑框3 << "-123456789012345678901234567890"
                                             << "-2147483648";
    QTest::newRow("empty stays empty") << 编辑框3 << ""
                                       << "";
}

void NumberBoxInputTest::focus_loss_corrects_the_text() {
    QFETCH(ControlId, id);
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    QLineEdit* box = focus_box(id);
    QVERIFY(box != nullptr);
    QGuiApplication::clipboard()->setText(pasted);
    if (!pasted.isEmpty()) {
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(box->text(), pasted);

    // Clicking another control takes the focus away, as a click on "提取" does.
    window_->control(ControlId::编辑框5)->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(!box->hasFocus());

    QCOMPARE(box->text(), shown);
}

void NumberBoxInputTest::caret_goes_to_where_the_selection_started() {
    QLineEdit* box = focus_box(ControlId::编辑框1);
    QVERIFY(box != nullptr);
    QGuiApplication::clipboard()->setText(QStringLiteral("0099x"));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    box->setSelection(1, 2);

    window_->control(ControlId::编辑框5)->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(!box->hasFocus());

    QCOMPARE(box->text(), QStringLiteral("99"));
    QCOMPARE(box->cursorPosition(), 1);

    // Left alone when already correct: the caret stays where it was.
    box->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(box->hasFocus());
    box->setCursorPosition(2);
    window_->control(ControlId::编辑框5)->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(!box->hasFocus());
    QCOMPARE(box->text(), QStringLiteral("99"));
    QCOMPARE(box->cursorPosition(), 2);
}

void NumberBoxInputTest::a_context_menu_does_not_correct() {
    QLineEdit* box = focus_box(ControlId::编辑框1);
    QVERIFY(box != nullptr);
    QGuiApplication::clipboard()->setText(QStringLiteral("12ab"));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(box, &popup);
    QCOMPARE(box->text(), QStringLiteral("12ab"));
}

void NumberBoxInputTest::free_text_box_takes_everything() {
    QLineEdit* box = focus_box(ControlId::编辑框5);
    QVERIFY(box != nullptr);
    QTest::keyClicks(box, "abc 1.2");
    QInputMethodEvent committed;
    committed.setCommitString(QStringLiteral("上海"));
    QApplication::sendEvent(box, &committed);
    window_->control(ControlId::编辑框1)->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(!box->hasFocus());
    QCOMPARE(box->text(), QStringLiteral("abc 1.2上海"));
}

// Chinese is typed through an input method (fcitx5, ibus): every box that takes text must keep
// accepting one, the whole-number boxes included (their filter applies to what it commits).
void NumberBoxInputTest::every_box_that_takes_text_takes_an_input_method() {
    for (const ControlId id : {ControlId::编辑框1, ControlId::编辑框2, ControlId::编辑框3,
                               ControlId::编辑框4, ControlId::编辑框5}) {
        QWidget* box = window_->control(id);
        box->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(box->hasFocus());
        QVERIFY2(box->testAttribute(Qt::WA_InputMethodEnabled), control_name(id).data());
        QVERIFY2(box->inputMethodQuery(Qt::ImEnabled).toBool(), control_name(id).data());
        QVERIFY2(QGuiApplication::focusObject() == box, control_name(id).data());
    }
}

}  // namespace proxylist::testing

QTEST_MAIN(proxylist::testing::NumberBoxInputTest)
#include "number_box_input_test.moc"
