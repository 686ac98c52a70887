// The realised window against the layout table, and the window's keyboard behaviour.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QWindow>
#include <climits>
#include <memory>

#include "window_fixture.hpp"

#ifndef Q_MOC_RUN
#include "app/layout.hpp"
#include "ui/qt/drop_down_list.hpp"
#include "ui/qt/list_box.hpp"
#include "ui/qt/number_box.hpp"
#include "ui/qt/push_button.hpp"
#include "ui/qt/qt_controls.hpp"
#include "ui/qt/qt_text.hpp"
#include "ui/qt/self_painted_label.hpp"
#include "ui/qt/visual_style.hpp"
#endif

Q_DECLARE_METATYPE(proxylist::ControlId)

namespace proxylist::testing {
namespace {

Qt::Alignment qt_alignment(TextAlignment alignment) {
    return alignment == TextAlignment::centre ? Qt::AlignHCenter : Qt::AlignLeft;
}

bool black_on_white(const QWidget& widget) {
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        if (widget.palette().color(group, QPalette::Text) != QColor(Qt::black) ||
            widget.palette().color(group, QPalette::Base) != QColor(Qt::white)) {
            return false;
        }
    }
    return true;
}

// Whether any pixel of the widget's picture has the colour.
bool shows_colour(QWidget& widget, const QColor& colour) {
    const QImage image = widget.grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepare_application(); }
    void init() { window_ = make_main_window(); }
    void cleanup() {
        window_.reset();
        QtVisualStyle().switch_on(0);
    }

    void window_settings();
    void window_outer_rectangle_is_centred_on_the_primary_screen();
    void controls_are_created_in_table_order();
    void control_matches_its_row_data();
    void control_matches_its_row();
    void captions_items_and_texts_fit_their_controls();
    void first_tab_stop_has_the_focus_at_start();
    void focus_returns_to_the_last_focused_control_on_activation();
    void tab_cycles_through_the_tab_stops_both_ways_data();
    void tab_cycles_through_the_tab_stops_both_ways();
    void escape_closes_the_window_from_any_control_data();
    void escape_closes_the_window_from_any_control();
    void enter_clicks_no_button_data();
    void enter_clicks_no_button();
    void button_captions_wrap_when_too_wide();
    void list_box_wraps_long_lines_and_takes_enter();
    void drop_down_list_cannot_be_typed_into();
    void selection_is_hidden_while_a_box_lacks_the_focus();
    void labels_paint_black_text_on_the_window_colour();

  private:
    std::unique_ptr<MainWindow> window_;
};

void MainWindowTest::window_settings() {
    const WindowLayout& layout = main_window_layout();
    QCOMPARE(window_->windowTitle(), QStringLiteral("Quillmere__Tarnwick工具"));
    QCOMPARE(window_->windowTitle(), qstring_from_utf8(layout.title));
    const Qt::WindowFlags flags = window_->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowStaysOnTopHint));
    // Fixed size: the user cannot drag it larger or smaller.
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    QVERIFY(!window_->isVisible());
}

void MainWindowTest::window_outer_rectangle_is_centred_on_the_primary_screen() {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect expected(screen.left() + (screen.width() - 339) / 2,
                         screen.top() + (screen.height() - 250) / 2, 339, 250);
    QCOMPARE(window_->target_outer_rectangle(), expected);
    QVERIFY(show_and_activate(*window_));
    // The frame the platform adds (2 pixels a side offscreen) comes off the client area.
    QTRY_COMPARE(window_->frameGeometry(), expected);
    const QMargins frame = window_->windowHandle()->frameMargins();
    QCOMPARE(window_->size(),
             QSize(339 - frame.left() - frame.right(), 250 - frame.top() - frame.bottom()));

    // Fitted once; the user may still move the window elsewhere.
    window_->move(expected.topLeft() + QPoint(-40, 25));
    QTRY_COMPARE(window_->frameGeometry().topLeft(), expected.topLeft() + QPoint(-40, 25));
    QCOMPARE(window_->frameGeometry().size(), expected.size());
}

void MainWindowTest::controls_are_created_in_table_order() {
    QStringList created;
    for (QObject* child : window_->children()) {
        if (child->isWidgetType()) {
            created.append(child->objectName());
        }
    }
    QStringList table;
    for (const ControlLayout& row : main_window_controls()) {
        table.append(name_of(row.id));
    }
    QCOMPARE(created, table);
}

void MainWindowTest::control_matches_its_row_data() {
    QTest::addColumn<ControlId>("id");
    for (const ControlLayout& row : main_window_controls()) {
        QTest::newRow(control_name(row.id).data()) << row.id;
    }
}

void MainWindowTest::control_matches_its_row() {
    QFETCH(ControlId, id);
    const ControlLayout& row = control_layout(id);
    QWidget* widget = window_->findChild<QWidget*>(name_of(id), Qt::FindDirectChildrenOnly);
    QVERIFY(widget != nullptr);
    QCOMPARE(widget, window_->control(id));
    QCOMPARE(widget->pos(), QPoint(row.place.left, row.place.top));
    QCOMPARE(widget->width(), row.place.width);
    QVERIFY(!widget->isHidden());
    QVERIFY(widget->isEnabled());
    QCOMPARE(widget->focusPolicy(), row.kind == ControlKind::label ? Qt::NoFocus
                                    : row.tab_stop                 ? Qt::StrongFocus
                                                                   : Qt::ClickFocus);
    // No control has a font of its own.
    QVERIFY(!widget->testAttribute(Qt::WA_SetFont));
    const QString text = qstring_from_utf8(row.text);

    if (const auto* label = std::get_if<LabelSettings>(&row.settings)) {
        const auto* painted = qobject_cast<SelfPaintedLabel*>(widget);
        QVERIFY(painted != nullptr);
        QCOMPARE(widget->height(), row.place.height);
        QCOMPARE(painted->text(), text);
        QCOMPARE(painted->alignment(), qt_alignment(label->alignment) | Qt::AlignVCenter);
        QCOMPARE(painted->text_colour(), QColor(Qt::black));
    } else if (const auto* box = std::get_if<EditBoxSettings>(&row.settings)) {
        QCOMPARE(widget->height(), row.place.height);
        QVERIFY(black_on_white(*widget));
        if (box->lines == LineMode::multi) {
            const auto* list = qobject_cast<ListBox*>(widget);
            QVERIFY(list != nullptr);
            QCOMPARE(list->list_text(), text);
            QCOMPARE(list->lineWrapMode(), QPlainTextEdit::WidgetWidth);
            QCOMPARE(list->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
            QCOMPARE(list->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
            QCOMPARE(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
            QVERIFY(list->tabChangesFocus());
            QVERIFY(!list->isReadOnly());
            QCOMPARE(list->frameShape(), QFrame::StyledPanel);
            QCOMPARE(list->frameShadow(), QFrame::Sunken);
            QCOMPARE(list->textCursor().position(), 0);
        } else {
            const auto* line = qobject_cast<QLineEdit*>(widget);
            QVERIFY(line != nullptr);
            QCOMPARE(line->text(), text);
            QCOMPARE(line->alignment(), Qt::AlignHCenter | Qt::AlignVCenter);
            QVERIFY(line->hasFrame());
            QCOMPARE(line->maxLength(), INT_MAX);
            QVERIFY(!line->isReadOnly());
            QCOMPARE(line->cursorPosition(), 0);
            const auto* number = qobject_cast<const NumberBox*>(widget);
            QCOMPARE(number != nullptr, box->whole_number.has_value());
            if (number != nullptr) {
                QCOMPARE(number->range().min, box->whole_number->min);
                QCOMPARE(number->range().max, box->whole_number->max);
            }
        }
    } else if (const auto* button = std::get_if<ButtonSettings>(&row.settings)) {
        const auto* push = qobject_cast<PushButton*>(widget);
        QVERIFY(push != nullptr);
        QCOMPARE(widget->height(), row.place.height);
        QCOMPARE(push->text(), text);
        QCOMPARE(push->isDefault(), button->is_default);
        QVERIFY(!push->autoDefault());
    } else if (const auto* combo = std::get_if<ComboBoxSettings>(&row.settings)) {
        auto* list = qobject_cast<DropDownList*>(widget);
        QVERIFY(list != nullptr);
        // The closed height follows from the font.
        QCOMPARE(widget->height(), list->sizeHint().height());
        QStringList items;
        for (const std::string_view item : combo->items) {
            items.append(qstring_from_utf8(item));
        }
        QStringList shown;
        for (int i = 0; i < list->count(); ++i) {
            shown.append(list->itemText(i));
        }
        QCOMPARE(shown, items);
        QCOMPARE(list->currentIndex(), combo->current_item);
        QVERIFY(!list->isEditable());
        QCOMPARE(list->view()->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        QCOMPARE(list->view()->palette().color(QPalette::Base), QColor(Qt::white));
        QCOMPARE(list->view()->palette().color(QPalette::Text), QColor(Qt::black));
    }
}

void MainWindowTest::captions_items_and_texts_fit_their_controls() {
    // The product's look: style 2.
    QtVisualStyle().switch_on(2);
    for (const ControlLayout& row : main_window_controls()) {
        QWidget* widget = window_->control(row.id);
        const QFontMetrics metrics = widget->fontMetrics();
        const QString text = qstring_from_utf8(row.text);
        const QString name = name_of(row.id);
        int room = 0;
        QStringList texts{text};
        if (row.kind == ControlKind::label) {
            room = widget->width();
        } else if (const auto* line = qobject_cast<QLineEdit*>(widget)) {
            QStyleOptionFrame option;
            option.initFrom(line);
            option.rect = line->rect();
            option.lineWidth =
                line->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, line);
            // QLineEdit keeps one more pixel free on each side inside its contents.
            room =
                line->style()->subElementRect(QStyle::SE_LineEditContents, &option, line).width() -
                2;
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            room = button->style()
                       ->subElementRect(QStyle::SE_PushButtonContents, &option, button)
                       .width();
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.editable = false;
            option.frame = true;
            room = combo->style()
                       ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField,
                                        combo)
                       .width();
            texts.clear();
            for (int i = 0; i < combo->count(); ++i) {
                texts.append(combo->itemText(i));
            }
        } else {
            continue;  // 编辑框4 starts empty and wraps.
        }
        for (const QString& shown : texts) {
            QVERIFY2(metrics.horizontalAdvance(shown) <= room,
                     qPrintable(QStringLiteral("%1: %2 needs %3 of %4")
                                    .arg(name, shown)
                                    .arg(metrics.horizontalAdvance(shown))
                                    .arg(room)));
        }
        QVERIFY2(metrics.height() <= widget->height(), qPrintable(name));
    }
}

void MainWindowTest::first_tab_stop_has_the_focus_at_start() {
    QVERIFY(show_and_activate(*window_));
    QTRY_COMPARE(QApplication::focusWidget(), window_->control(ControlId::编辑框1));
}

void MainWindowTest::focus_returns_to_the_last_focused_control_on_activation() {
    QVERIFY(show_and_activate(*window_));
    window_->control(ControlId::编辑框3)->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), window_->control(ControlId::编辑框3));

    QWidget other;
    other.setGeometry(0, 0, 50, 50);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!window_->isActiveWindow());

    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QTRY_COMPARE(QApplication::focusWidget(), window_->control(ControlId::编辑框3));
}

void MainWindowTest::tab_cycles_through_the_tab_stops_both_ways_data() {
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QList<ControlId>>("visited");
    using enum ControlId;
    QTest::newRow("tab") << true
                         << QList<ControlId>{编辑框2, 编辑框3, 编辑框4, 按钮2, 编辑框5, 编辑框1};
    QTest::newRow("shift_tab") << false << QList<ControlId>{编辑框5, 按钮2,   编辑框4,
                                                            编辑框3, 编辑框2, 编辑框1};
}

void MainWindowTest::tab_cycles_through_the_tab_stops_both_ways() {
    QFETCH(bool, forward);
    QFETCH(QList<ControlId>, visited);
    QVERIFY(show_and_activate(*window_));
    QTRY_COMPARE(QApplication::focusWidget(), window_->control(ControlId::编辑框1));
    for (const ControlId expected : visited) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                        forward ? Qt::NoModifier : Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), window_->control(expected));
    }
}

void MainWindowTest::escape_closes_the_window_from_any_control_data() {
    QTest::addColumn<ControlId>("id");
    using enum ControlId;
    for (const ControlId id :
         {编辑框1, 编辑框2, 编辑框3, 编辑框4, 编辑框5, 按钮1, 按钮2, 组合框1}) {
        QTest::newRow(control_name(id).data()) << id;
    }
}

void MainWindowTest::escape_closes_the_window_from_any_control() {
    QFETCH(ControlId, id);
    QVERIFY(show_and_activate(*window_));
    QWidget* control = window_->control(id);
    control->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), control);
    QSignalSpy closed(window_.get(), &MainWindow::closed);

    QTest::keyClick(control, Qt::Key_Escape);

    QCOMPARE(closed.count(), 1);
    QVERIFY(!window_->isVisible());
}

void MainWindowTest::enter_clicks_no_button_data() {
    QTest::addColumn<ControlId>("id");
    QTest::addColumn<int>("key");
    using enum ControlId;
    for (const ControlId id : {编辑框1, 编辑框2, 编辑框3, 编辑框5, 按钮1, 按钮2, 组合框1}) {
        QTest::newRow((std::string(control_name(id)) + " return").c_str())
            << id << int(Qt::Key_Return);
        QTest::newRow((std::string(control_name(id)) + " enter").c_str())
            << id << int(Qt::Key_Enter);
    }
}

void MainWindowTest::enter_clicks_no_button() {
    QFETCH(ControlId, id);
    QFETCH(int, key);
    QVERIFY(show_and_activate(*window_));
    QWidget* control = window_->control(id);
    control->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), control);
    QSignalSpy extract(window_->push_button(ControlId::按钮1), &QPushButton::clicked);
    QSignalSpy save(window_->push_button(ControlId::按钮2), &QPushButton::clicked);

    QTest::keyClick(control, static_cast<Qt::Key>(key));

    QCOMPARE(extract.count(), 0);
    QCOMPARE(save.count(), 0);
    QCOMPARE(QApplication::focusWidget(), control);
    QVERIFY(window_->isVisible());
}

void MainWindowTest::button_captions_wrap_when_too_wide() {
    QtVisualStyle().switch_on(2);
    QPushButton* button = window_->push_button(ControlId::按钮1);
    // Rows of the button's picture that hold caption pixels, in runs.
    const auto caption_lines = [button] {
        const QImage image = button->grab().toImage();
        int lines = 0;
        bool in_line = false;
        for (int y = 3; y < image.height() - 3; ++y) {
            bool dark = false;
            for (int x = 3; x < image.width() - 3 && !dark; ++x) {
                dark = image.pixelColor(x, y).lightness() < 100;
            }
            lines += dark && !in_line ? 1 : 0;
            in_line = dark;
        }
        return lines;
    };
    QCOMPARE(caption_lines(), 1);
    button->setText(QStringLiteral("提取中提取中提取中"));
    QVERIFY(caption_lines() >= 2);
}

void MainWindowTest::list_box_wraps_long_lines_and_takes_enter() {
    QVERIFY(show_and_activate(*window_));
    ListBox* list = window_->list_box(ControlId::编辑框4);
    QtControls controls(*window_);
    const QString long_line = QStringLiteral("203.0.113.250:8080").repeated(4);
    list->set_list_text(long_line);
    QTRY_VERIFY(list->document()->firstBlock().layout()->lineCount() > 1);
    QCOMPARE(list->horizontalScrollBar()->maximum(), 0);

    list->clear();
    list->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(list));
    QTest::keyClicks(list, "a");
    QTest::keyClick(list, Qt::Key_Return);
    QTest::keyClicks(list, "b");
    QTest::keyClick(list, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(list, "c");
    QCOMPARE(bytes(controls.edit_text(ControlId::编辑框4)), QByteArray("a\r\nb\r\nc"));
}

void MainWindowTest::drop_down_list_cannot_be_typed_into() {
    QVERIFY(show_and_activate(*window_));
    QComboBox* combo = window_->combo_box(ControlId::组合框1);
    combo->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(combo));
    QVERIFY(combo->lineEdit() == nullptr);

    QTest::keyClicks(combo, "abc 123");

    QCOMPARE(combo->count(), 4);
    QVERIFY(combo->findText(combo->currentText()) >= 0);
}

void MainWindowTest::selection_is_hidden_while_a_box_lacks_the_focus() {
    QVERIFY(show_and_activate(*window_));
    ListBox* list = window_->list_box(ControlId::编辑框4);
    list->set_list_text(QStringLiteral("WWWWWWWW\r\nWWWWWWWW"));
    list->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(list));
    list->selectAll();
    const QColor highlight = list->palette().color(QPalette::Active, QPalette::Highlight);
    QVERIFY(shows_colour(*list, highlight));

    window_->control(ControlId::编辑框1)->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(!list->hasFocus());

    QVERIFY(list->textCursor().hasSelection());
    QVERIFY(!shows_colour(*list, highlight));

    // A single-line box keeps its selection, hidden, while the window is inactive.
    QLineEdit* line = window_->line_edit(ControlId::编辑框5);
    line->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(line));
    line->selectAll();
    QVERIFY(shows_colour(*line, highlight));
    QWidget other;
    other.setGeometry(0, 0, 50, 50);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(line->hasSelectedText());
    QVERIFY(!shows_colour(*line, highlight));
}

void MainWindowTest::labels_paint_black_text_on_the_window_colour() {
    QVERIFY(show_and_activate(*window_));
    QtVisualStyle().switch_on(2);
    auto* label = window_->control(ControlId::标签1);
    const QImage image = label->grab().toImage();
    const QColor face = window_->palette().color(QPalette::Window);
    QCOMPARE(image.pixelColor(0, 0), face);
    QCOMPARE(image.pixelColor(image.width() - 1, image.height() - 1), face);
    bool black = false;
    for (int y = 0; y < image.height() && !black; ++y) {
        for (int x = 0; x < image.width() && !black; ++x) {
            black = image.pixelColor(x, y) == QColor(Qt::black);
        }
    }
    QVERIFY(black);
}

}  // namespace proxylist::testing

QTEST_MAIN(proxylist::testing::MainWindowTest)
#include "main_window_test.moc"
