// The visual-style component: 1, 2 and 3 restyle every widget, now and later, and repaint;
// any other number gives the system look back; labels look the same either way.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTest>
#include <memory>

#include "window_fixture.hpp"

#ifndef Q_MOC_RUN
#include "app/layout.hpp"
#include "ui/qt/accent_style.hpp"
#include "ui/qt/visual_style.hpp"
#endif

Q_DECLARE_METATYPE(proxylist::ControlId)

namespace proxylist::testing {

class VisualStyleTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void styles_one_to_three_restyle_every_widget_data();
    void styles_one_to_three_restyle_every_widget();
    void widgets_made_later_are_restyled_too();
    void other_numbers_switch_the_style_off_data();
    void other_numbers_switch_the_style_off();
    void styled_controls_look_different_labels_do_not_data();
    void styled_controls_look_different_labels_do_not();
    void style_change_repaints_at_once();
    void open_list_items_are_one_pixel_taller_data();
    void open_list_items_are_one_pixel_taller();

  private:
    QString system_style_;
    std::unique_ptr<MainWindow> window_;
};

void VisualStyleTest::initTestCase() {
    prepare_application();
    system_style_ = QApplication::style()->name();
}

void VisualStyleTest::init() {
    window_ = make_main_window();
    QVERIFY(show_and_activate(*window_));
}

void VisualStyleTest::cleanup() {
    window_.reset();
    QtVisualStyle().switch_on(0);
}

void VisualStyleTest::styles_one_to_three_restyle_every_widget_data() {
    QTest::addColumn<int>("style");
    QTest::newRow("1") << 1;
    QTest::newRow("2") << 2;
    QTest::newRow("3") << 3;
}

void VisualStyleTest::styles_one_to_three_restyle_every_widget() {
    QFETCH(int, style);
    QtVisualStyle visual_style;
    visual_style.switch_on(style);

    const auto* accent = qobject_cast<AccentStyle*>(QApplication::style());
    QVERIFY(accent != nullptr);
    QCOMPARE(accent->style_number(), style);
    QCOMPARE(QtVisualStyle::current_style(), style);
    QCOMPARE(accent->baseStyle()->name(), system_style_);
    for (QWidget* widget : window_->findChildren<QWidget*>()) {
        QCOMPARE(widget->style(), QApplication::style());
    }
    QCOMPARE(window_->style(), QApplication::style());
}

void VisualStyleTest::widgets_made_later_are_restyled_too() {
    QtVisualStyle().switch_on(2);
    QLineEdit later;
    QVERIFY(qobject_cast<AccentStyle*>(later.style()) != nullptr);
    const auto another = make_main_window();
    QVERIFY(qobject_cast<AccentStyle*>(another->control(ControlId::按钮2)->style()) != nullptr);
}

void VisualStyleTest::other_numbers_switch_the_style_off_data() {
    QTest::addColumn<int>("style");
    QTest::newRow("0") << 0;
    QTest::newRow("4") << 4;
    QTest::newRow("-1") << -1;
    QTest::newRow("-2") << -2;
    QTest::newRow("100") << 100;
}

void VisualStyleTest::other_numbers_switch_the_style_off() {
    QFETCH(int, style);
    QtVisualStyle visual_style;
    QCOMPARE(visual_style.system_style(), system_style_);
    visual_style.switch_on(2);
    visual_style.switch_on(style);

    QVERIFY(qobject_cast<AccentStyle*>(QApplication::style()) == nullptr);
    QCOMPARE(QApplication::style()->name(), system_style_);
    QCOMPARE(QtVisualStyle::current_style(), 0);
    QCOMPARE(window_->control(ControlId::编辑框1)->style(), QApplication::style());
    // Switching off twice is no error.
    visual_style.switch_on(style);
    QCOMPARE(QApplication::style()->name(), system_style_);
}

void VisualStyleTest::styled_controls_look_different_labels_do_not_data() {
    QTest::addColumn<ControlId>("id");
    QTest::addColumn<bool>("restyled");
    using enum ControlId;
    for (const ControlId id : {编辑框1, 编辑框4, 按钮1, 组合框1}) {
        QTest::newRow(control_name(id).data()) << id << true;
    }
    for (const ControlId id : {标签1, 标签5, 标签6}) {
        QTest::newRow(control_name(id).data()) << id << false;
    }
}

void VisualStyleTest::styled_controls_look_different_labels_do_not() {
    QFETCH(ControlId, id);
    QFETCH(bool, restyled);
    QWidget* control = window_->control(id);
    const QImage system_look = control->grab().toImage();
    QtVisualStyle visual_style;
    visual_style.switch_on(2);
    const QImage styled = control->grab().toImage();
    visual_style.switch_on(0);
    const QImage system_again = control->grab().toImage();

    QCOMPARE(styled != system_look, restyled);
    QVERIFY(system_again == system_look);
}

void VisualStyleTest::style_change_repaints_at_once() {
    QPushButton* button = window_->push_button(ControlId::按钮1);
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    // A paint event counts as the repaint; the filter sees it arrive.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) {
                ++paints;
            }
            return false;
        }
    } counter;
    button->installEventFilter(&counter);
    QtVisualStyle().switch_on(2);
    QTRY_VERIFY(counter.paints > 0);
    counter.paints = 0;
    QtVisualStyle().switch_on(0);
    QTRY_VERIFY(counter.paints > 0);
    button->removeEventFilter(&counter);
}

void VisualStyleTest::open_list_items_are_one_pixel_taller_data() {
    QTest::addColumn<int>("style");
    QTest::newRow("system look") << 0;
    QTest::newRow("style 2") << 2;
}

void VisualStyleTest::open_list_items_are_one_pixel_taller() {
    QFETCH(int, style);
    QtVisualStyle().switch_on(style);
    QComboBox* combo = window_->combo_box(ControlId::组合框1);
    QAbstractItemView* view = combo->view();
    QStyledItemDelegate plain;
    QStyleOptionViewItem option;
    option.initFrom(view);
    for (int row = 0; row < combo->count(); ++row) {
        const QModelIndex index = combo->model()->index(row, 0);
        const int default_height = plain.sizeHint(option, index).height();
        QCOMPARE(view->itemDelegate()->sizeHint(option, index).height(), default_height + 1);
    }
}

}  // namespace proxylist::testing

QTEST_MAIN(proxylist::testing::VisualStyleTest)
#include "visual_style_test.moc"
