// Every setting of the layout table reaches the window: each row here changes one setting in a
// copy of the table, builds the real window from the copy and from the table itself, and sees
// the window follow, on screen or at the keyboard where that is cheap to watch. Whether the
// user may move the window is up to the window manager; the window manager test watches that.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QWindow>
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "window_fixture.hpp"

#ifndef Q_MOC_RUN
#include "app/layout.hpp"
#include "ui/qt/drop_down_list.hpp"
#include "ui/qt/list_box.hpp"
#include "ui/qt/qt_controls.hpp"
#include "ui/qt/single_line_box.hpp"
#endif

namespace proxylist::testing {
namespace {

// A copy of the layout that a row may change.
struct Layout {
    WindowLayout window = main_window_layout();
    std::array<ControlLayout, control_count> controls = table_copy();

    template <typename Settings>
    Settings& settings(ControlId id) {
        return std::get<Settings>(controls[static_cast<std::size_t>(id)].settings);
    }
    ControlLayout& operator[](ControlId id) { return controls[static_cast<std::size_t>(id)]; }

    static std::array<ControlLayout, control_count> table_copy() {
        std::array<ControlLayout, control_count> copy{};
        std::copy_n(main_window_controls().begin(), control_count, copy.begin());
        return copy;
    }
};

using Observation = QString (*)(MainWindow&, ControlId);

struct FieldCase {
    const char* field;
    ControlId id;
    void (*change)(Layout&);
    Observation observe;
    // What the window built from the table shows, and what the one built from the copy shows.
    const char* from_table;
    const char* from_copy;
    // Applied to both layouts first, where the setting only shows together with another.
    void (*prepare)(Layout&) = nullptr;
};

constexpr Colour red{255, 0, 0};
constexpr Colour yellow{255, 255, 0};
constexpr std::array<std::string_view, 2> two_items = {"one", "two"};

QString text_of(QWidget& widget) {
    if (auto* list = qobject_cast<ListBox*>(&widget)) {
        return list->list_text();
    }
    if (auto* line = qobject_cast<QLineEdit*>(&widget)) {
        return line->text();
    }
    return {};
}

// Gives the control the keyboard focus, with the caret at the end of its text.
void focus(MainWindow& window, ControlId id) {
    QWidget* control = window.control(id);
    control->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), control);
    if (auto* list = qobject_cast<ListBox*>(control)) {
        list->moveCursor(QTextCursor::End);
    } else if (auto* line = qobject_cast<QLineEdit*>(control)) {
        line->end(false);
    }
}

void focus_elsewhere(MainWindow& window, ControlId id) {
    const ControlId other = id == ControlId::编辑框1 ? ControlId::编辑框2 : ControlId::编辑框1;
    window.control(other)->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), window.control(other));
}

QString typed(MainWindow& window, ControlId id, const QString& keys) {
    focus(window, id);
    QTest::keyClicks(window.control(id), keys);
    return text_of(*window.control(id));
}

QWidget& painted_area(MainWindow& window, ControlId id) {
    if (auto* list = qobject_cast<ListBox*>(window.control(id))) {
        return *list->viewport();
    }
    return *window.control(id);
}

// Where the dark pixels of the text lie across the control, a frame's width in from its edges.
QString text_place(MainWindow& window, ControlId id) {
    const QImage image = painted_area(window, id).grab().toImage();
    constexpr int inset = 3;
    int first = image.width();
    int last = -1;
    for (int y = inset; y < image.height() - inset; ++y) {
        for (int x = inset; x < image.width() - inset; ++x) {
            if (image.pixelColor(x, y).lightness() < 100) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    if (last < 0) {
        return QStringLiteral("no text");
    }
    const int left_gap = first;
    const int right_gap = image.width() - 1 - last;
    if (std::abs(left_gap - right_gap) <= 4) {
        return QStringLiteral("centred");
    }
    return left_gap < right_gap ? QStringLiteral("left") : QStringLiteral("right");
}

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

// Whether text drawn in red shows: smoothed glyph edges blend into the background, so any
// clearly red pixel counts.
QString red_ink(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 90 && c.blue() < 90) {
                return QStringLiteral("red");
            }
        }
    }
    return QStringLiteral("no red");
}

QString yes_no(bool value, const char* yes, const char* no) {
    return QString::fromUtf8(value ? yes : no);
}

// How many runs of rows of the button's picture hold caption pixels.
int caption_lines(QPushButton& button) {
    const QImage image = button.grab().toImage();
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
}

// The title bar's buttons and the window's place above others, as the window asks for them.
QString title_bar(MainWindow& window, ControlId) {
    const Qt::WindowFlags flags = window.windowHandle()->flags();
    QStringList shown;
    for (const auto& [flag, name] : {std::pair{Qt::WindowSystemMenuHint, "menu"},
                                     std::pair{Qt::WindowCloseButtonHint, "close"},
                                     std::pair{Qt::WindowMinimizeButtonHint, "minimise"},
                                     std::pair{Qt::WindowMaximizeButtonHint, "maximise"},
                                     std::pair{Qt::WindowStaysOnTopHint, "on top"}}) {
        if (flags.testFlag(flag)) {
            shown.append(QString::fromUtf8(name));
        }
    }
    return shown.join(QLatin1Char(','));
}

// Opens the drop-down list, lets the observer look at it and closes it again.
template <typename Look>
QString with_open_list(MainWindow& window, ControlId id, Look look) {
    auto* combo = window.combo_box(id);
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    if (!QTest::qWaitFor([view] { return view->isVisible(); })) {
        return QStringLiteral("the list did not open");
    }
    QString seen = look(*combo, *view);
    combo->hidePopup();
    return seen;
}

const std::vector<FieldCase>& field_cases() {
    using enum ControlId;
    static const std::vector<FieldCase> cases = {
        // Any control.
        {"place", 标签1,
         [](Layout& l) {
             l[标签1].place = {30, 20, 30, 24};
         },
         [](MainWindow& w, ControlId id) {
             const QRect r = w.control(id)->geometry();
             return QStringLiteral("%1,%2 %3x%4")
                 .arg(r.x())
                 .arg(r.y())
                 .arg(r.width())
                 .arg(r.height());
         },
         "24,16 40x24", "30,20 30x24"},
        {"text", 标签2, [](Layout& l) { l[标签2].text = "Start:"; },
         [](MainWindow& w, ControlId id) { return qobject_cast<QLabel*>(w.control(id))->text(); },
         "开头：", "Start:"},
        {"tab_stop", 编辑框2, [](Layout& l) { l[编辑框2].tab_stop = false; },
         [](MainWindow& w, ControlId) {
             focus(w, 编辑框1);
             QTest::keyClick(w.control(编辑框1), Qt::Key_Tab);
             return w.control(编辑框2)->hasFocus() ? QStringLiteral("visited by Tab")
                                                   : QStringLiteral("skipped by Tab");
         },
         "visited by Tab", "skipped by Tab"},
        {"visible", 编辑框3, [](Layout& l) { l[编辑框3].visible = false; },
         [](MainWindow& w, ControlId id) {
             return yes_no(w.control(id)->isVisible(), "shown", "hidden");
         },
         "shown", "hidden"},
        {"enabled", 按钮2, [](Layout& l) { l[按钮2].enabled = false; },
         [](MainWindow& w, ControlId id) {
             QSignalSpy clicked(w.push_button(id), &QPushButton::clicked);
             QTest::mouseClick(w.control(id), Qt::LeftButton);
             return yes_no(clicked.count() == 1, "clicked", "not clicked");
         },
         "clicked", "not clicked"},
        {"label", 编辑框1,
         [](Layout& l) {
             l[编辑框1].label = ControlId::标签2;
             l[编辑框2].label = ControlId::标签1;
         },
         [](MainWindow& w, ControlId id) {
             QString by;
             for (const ControlId label : {标签1, 标签2, 标签3, 标签4, 标签5, 标签6}) {
                 if (qobject_cast<QLabel*>(w.control(label))->buddy() == w.control(id)) {
                     by = name_of(label);
                 }
             }
             return w.control(id)->accessibleName() + QStringLiteral(" by ") + by;
         },
         "数量 by 标签1", "开头 by 标签2"},
        {"own_name", 编辑框4, [](Layout& l) { l[编辑框4].own_name = "List"; },
         [](MainWindow& w, ControlId id) { return w.control(id)->accessibleName(); }, "列表",
         "List"},

        // Labels.
        {"label alignment", 标签6,
         [](Layout& l) { l.settings<LabelSettings>(标签6).alignment = TextAlignment::centre; },
         text_place, "left", "centred"},
        {"label text_colour", 标签1,
         [](Layout& l) { l.settings<LabelSettings>(标签1).text_colour = red; },
         [](MainWindow& w, ControlId id) { return red_ink(*w.control(id)); }, "no red", "red"},

        // Edit boxes.
        {"lines", 编辑框5,
         [](Layout& l) { l.settings<EditBoxSettings>(编辑框5).lines = LineMode::multi; },
         [](MainWindow& w, ControlId id) {
             return QString::fromLatin1(w.control(id)->metaObject()->className());
         },
         "proxylist::SingleLineBox", "proxylist::ListBox"},
        {"scroll_bars", 编辑框4,
         [](Layout& l) { l.settings<EditBoxSettings>(编辑框4).scroll_bars = ScrollBars::none; },
         [](MainWindow& w, ControlId id) {
             return yes_no(w.list_box(id)->verticalScrollBar()->isVisible(), "bar", "no bar");
         },
         "bar", "no bar"},
        {"single-line alignment", 编辑框5,
         [](Layout& l) { l.settings<EditBoxSettings>(编辑框5).alignment = TextAlignment::left; },
         text_place, "centred", "left"},
        {"multi-line alignment", 编辑框4,
         [](Layout& l) { l.settings<EditBoxSettings>(编辑框4).alignment = TextAlignment::centre; },
         text_place, "left", "centred", [](Layout& l) { l[编辑框4].text = "WWW"; }},
        {"whole_number", 编辑框1,
         [](Layout& l) { l.settings<EditBoxSettings>(编辑框1).whole_number = std::nullopt; },
         [](MainWindow& w, ControlId id) { return typed(w, id, QStringLiteral("x5")); }, "105",
         "10x5"},
        {"edit text_colour", 编辑框5,
         [](Layout& l) { l.settings<EditBoxSettings>(编辑框5).text_colour = red; },
         [](MainWindow& w, ControlId id) { return red_ink(*w.control(id)); }, "no red", "red"},
        {"edit background", 编辑框2,
         [](Layout& l) { l.settings<EditBoxSettings>(编辑框2).background = yellow; },
         [](MainWindow& w, ControlId id) {
             const QImage image = w.control(id)->grab().toImage();
             return image.pixelColor(image.width() / 2, image.height() / 2).name();
         },
         "#ffffff", "#ffff00"},
        {"sunken_border", 编辑框2,
         [](Layout& l) { l.settings<EditBoxSettings>(编辑框2).sunken_border = false; },
         [](MainWindow& w, ControlId id) {
             // The box's edge against its inside, where the background shows.
             const QImage image = w.control(id)->grab().toImage();
             const int middle = image.height() / 2;
             return yes_no(image.pixelColor(0, middle) != image.pixelColor(4, middle), "edged",
                           "flat");
         },
         "edged", "flat"},
        {"single-line length_limit", 编辑框2,
         [](Layout& l) { l.settings<EditBoxSettings>(编辑框2).length_limit = 3; },
         [](MainWindow& w, ControlId id) { return typed(w, id, QStringLiteral("12345")); }, "12345",
         "123"},
        {"multi-line length_limit", 编辑框4,
         [](Layout& l) { l.settings<EditBoxSettings>(编辑框4).length_limit = 5; },
         [](MainWindow& w, ControlId id) {
             typed(w, id, QStringLiteral("abc"));
             QTest::keyClick(w.control(id), Qt::Key_Return);
             return typed(w, id, QStringLiteral("def"));
         },
         "abc\r\ndef", "abc\r\n"},
        {"single-line hides_selection_without_focus", 编辑框5,
         [](Layout& l) {
             l.settings<EditBoxSettings>(编辑框5).hides_selection_without_focus = false;
         },
         [](MainWindow& w, ControlId id) {
             focus(w, id);
             w.line_edit(id)->selectAll();
             focus_elsewhere(w, id);
             const QColor highlight = w.control(id)->palette().color(QPalette::Highlight);
             return yes_no(shows_colour(*w.control(id), highlight), "shown", "hidden");
         },
         "hidden", "shown"},
        {"multi-line hides_selection_without_focus", 编辑框4,
         [](Layout& l) {
             l.settings<EditBoxSettings>(编辑框4).hides_selection_without_focus = false;
         },
         [](MainWindow& w, ControlId id) {
             focus(w, id);
             w.list_box(id)->selectAll();
             focus_elsewhere(w, id);
             const QColor highlight =
                 w.control(id)->palette().color(QPalette::Active, QPalette::Highlight);
             return yes_no(shows_colour(*w.list_box(id)->viewport(), highlight), "shown", "hidden");
         },
         "hidden", "shown", [](Layout& l) { l[编辑框4].text = "WWWWWWWW\r\nWWWWWWWW"; }},
        {"single-line scrolls_sideways", 编辑框5,
         [](Layout& l) { l.settings<EditBoxSettings>(编辑框5).scrolls_sideways = false; },
         [](MainWindow& w, ControlId id) {
             const QString keys(30, QLatin1Char('W'));
             const QString text = typed(w, id, keys);
             if (text == QStringLiteral("北京") + keys) {
                 return QStringLiteral("takes it all");
             }
             auto* box = qobject_cast<SingleLineBox*>(w.control(id));
             const bool stopped = text.startsWith(QStringLiteral("北京W")) && box->fits(text) &&
                                  !box->fits(text + QLatin1Char('W'));
             return stopped ? QStringLiteral("stops at the edge") : QStringLiteral("?") + text;
         },
         "takes it all", "stops at the edge"},
        {"multi-line scrolls_sideways", 编辑框4,
         [](Layout& l) { l.settings<EditBoxSettings>(编辑框4).scrolls_sideways = true; },
         [](MainWindow& w, ControlId id) {
             ListBox* list = w.list_box(id);
             if (!QTest::qWaitFor(
                     [list] { return list->document()->firstBlock().layout()->lineCount() > 0; })) {
                 return QStringLiteral("not laid out");
             }
             return yes_no(list->document()->firstBlock().layout()->lineCount() > 1, "wraps",
                           "one line");
         },
         "wraps", "one line",
         [](Layout& l) { l[编辑框4].text = "203.0.113.250:8080203.0.113.250:8080"; }},
        {"enter_inserts_line_break", 编辑框4,
         [](Layout& l) { l.settings<EditBoxSettings>(编辑框4).enter_inserts_line_break = false; },
         [](MainWindow& w, ControlId id) {
             typed(w, id, QStringLiteral("a"));
             QTest::keyClick(w.control(id), Qt::Key_Return);
             return typed(w, id, QStringLiteral("b"));
         },
         "a\r\nb", "ab"},
        {"read_only", 编辑框5,
         [](Layout& l) { l.settings<EditBoxSettings>(编辑框5).read_only = true; },
         [](MainWindow& w, ControlId id) { return typed(w, id, QStringLiteral("x")); }, "北京x",
         "北京"},

        // Buttons.
        {"caption_wraps", 按钮1,
         [](Layout& l) { l.settings<ButtonSettings>(按钮1).caption_wraps = false; },
         [](MainWindow& w, ControlId id) {
             QPushButton* button = w.push_button(id);
             button->setText(QStringLiteral("提取中提取中提取中"));
             return yes_no(caption_lines(*button) >= 2, "wraps", "one line");
         },
         "wraps", "one line"},
        {"is_default", 按钮2,
         [](Layout& l) { l.settings<ButtonSettings>(按钮2).is_default = true; },
         [](MainWindow& w, ControlId id) {
             QSignalSpy clicked(w.push_button(id), &QPushButton::clicked);
             focus(w, 编辑框5);
             QTest::keyClick(w.control(编辑框5), Qt::Key_Return);
             return yes_no(clicked.count() == 1, "Enter clicks it", "Enter clicks nothing");
         },
         "Enter clicks nothing", "Enter clicks it"},

        // The drop-down list.
        {"items", 组合框1,
         [](Layout& l) { l.settings<ComboBoxSettings>(组合框1).items = two_items; },
         [](MainWindow& w, ControlId id) {
             QStringList items;
             for (int i = 0; i < w.combo_box(id)->count(); ++i) {
                 items.append(w.combo_box(id)->itemText(i));
             }
             return items.join(QLatin1Char(','));
         },
         "全部运营商,电信,联通,移动", "one,two"},
        {"current_item", 组合框1,
         [](Layout& l) { l.settings<ComboBoxSettings>(组合框1).current_item = 2; },
         [](MainWindow& w, ControlId id) { return w.combo_box(id)->currentText(); }, "全部运营商",
         "联通"},
        {"editable", 组合框1,
         [](Layout& l) { l.settings<ComboBoxSettings>(组合框1).editable = true; },
         [](MainWindow& w, ControlId id) {
             focus(w, id);
             QTest::keyClicks(w.control(id), QStringLiteral("xy"));
             return yes_no(w.combo_box(id)->currentText().contains(QStringLiteral("xy")),
                           "typed into", "fixed");
         },
         "fixed", "typed into"},
        {"sorted", 组合框1, [](Layout& l) { l.settings<ComboBoxSettings>(组合框1).sorted = true; },
         [](MainWindow& w, ControlId id) {
             QStringList shown;
             for (int i = 0; i < w.combo_box(id)->count(); ++i) {
                 shown.append(w.combo_box(id)->itemText(i));
             }
             const QStringList given{QStringLiteral("全部运营商"), QStringLiteral("电信"),
                                     QStringLiteral("联通"), QStringLiteral("移动")};
             if (shown == given) {
                 return QStringLiteral("as given");
             }
             const bool sorted = std::is_sorted(
                 shown.begin(), shown.end(),
                 [](const QString& a, const QString& b) { return a.localeAwareCompare(b) < 0; });
             return sorted ? QStringLiteral("sorted") : shown.join(QLatin1Char(','));
         },
         "as given", "sorted"},
        {"height_with_list", 组合框1,
         [](Layout& l) { l.settings<ComboBoxSettings>(组合框1).height_with_list = 60; },
         [](MainWindow& w, ControlId id) {
             return with_open_list(w, id, [](QComboBox& combo, QAbstractItemView& view) {
                 const int room = qobject_cast<DropDownList*>(&combo)->open_list_room();
                 if (view.parentWidget()->height() > room) {
                     return QStringLiteral("taller than its room");
                 }
                 return yes_no(view.verticalScrollBar()->maximum() > 0, "scrolls", "whole list");
             });
         },
         "whole list", "scrolls"},
        {"extra_item_height", 组合框1,
         [](Layout& l) { l.settings<ComboBoxSettings>(组合框1).extra_item_height = 10; },
         [](MainWindow& w, ControlId id) {
             return with_open_list(w, id, [](QComboBox&, QAbstractItemView& view) {
                 QStyleOptionViewItem option;
                 option.initFrom(&view);
                 const QModelIndex first = view.model()->index(0, 0);
                 const int plain = QStyledItemDelegate().sizeHint(option, first).height();
                 return QString::number(view.visualRect(first).height() - plain);
             });
         },
         "1", "10"},
        {"list_scroll_bars", 组合框1,
         [](Layout& l) {
             l.settings<ComboBoxSettings>(组合框1).list_scroll_bars = ScrollBars::none;
         },
         [](MainWindow& w, ControlId id) {
             return with_open_list(w, id, [](QComboBox&, QAbstractItemView& view) {
                 return yes_no(view.verticalScrollBar()->isVisible(), "bar", "no bar");
             });
         },
         "bar", "no bar",
         [](Layout& l) { l.settings<ComboBoxSettings>(组合框1).height_with_list = 60; }},
        {"list text_colour", 组合框1,
         [](Layout& l) { l.settings<ComboBoxSettings>(组合框1).text_colour = red; },
         [](MainWindow& w, ControlId id) {
             return with_open_list(w, id, [](QComboBox&, QAbstractItemView& view) {
                 return red_ink(*view.viewport());
             });
         },
         "no red", "red"},
        {"list background", 组合框1,
         [](Layout& l) { l.settings<ComboBoxSettings>(组合框1).background = yellow; },
         [](MainWindow& w, ControlId id) {
             return with_open_list(w, id, [](QComboBox&, QAbstractItemView& view) {
                 // The right end of the last item, past its text.
                 const QRect last = view.visualRect(view.model()->index(3, 0));
                 const QImage image = view.viewport()->grab().toImage();
                 return image.pixelColor(last.right() - 2, last.center().y()).name();
             });
         },
         "#ffffff", "#ffff00"},

        // The window.
        {"title", 编辑框1, [](Layout& l) { l.window.title = "Other"; },
         [](MainWindow& w, ControlId) { return w.windowTitle(); }, "Quillmere__Tarnwick工具",
         "Other"},
        {"outer_width and outer_height", 编辑框1,
         [](Layout& l) {
             l.window.outer_width = 400;
             l.window.outer_height = 300;
         },
         [](MainWindow& w, ControlId) {
             if (!QTest::qWaitFor(
                     [&w] { return w.frameGeometry() == w.target_outer_rectangle(); })) {
                 return QStringLiteral("not fitted");
             }
             return QStringLiteral("%1x%2")
                 .arg(w.frameGeometry().width())
                 .arg(w.frameGeometry().height());
         },
         "339x250", "400x300"},
        {"resizable", 编辑框1, [](Layout& l) { l.window.resizable = true; },
         [](MainWindow& w, ControlId) {
             return yes_no(w.minimumSize() == w.maximumSize(), "fixed size", "resizable");
         },
         "fixed size", "resizable"},
        {"title-bar buttons", 编辑框1,
         [](Layout& l) {
             l.window.has_system_menu = false;
             l.window.has_close_button = false;
             l.window.has_minimise_button = false;
         },
         title_bar, "menu,close,minimise", ""},
        {"maximise button and always on top", 编辑框1,
         [](Layout& l) {
             l.window.has_maximise_button = true;
             l.window.always_on_top = true;
         },
         title_bar, "menu,close,minimise", "menu,close,minimise,maximise,on top"},
        {"escape_closes", 编辑框1, [](Layout& l) { l.window.escape_closes = false; },
         [](MainWindow& w, ControlId) {
             focus(w, 编辑框4);
             QTest::keyClick(w.control(编辑框4), Qt::Key_Escape);
             return yes_no(w.isVisible(), "Esc leaves it open", "Esc closes it");
         },
         "Esc closes it", "Esc leaves it open"},
    };
    return cases;
}

}  // namespace

class LayoutFieldsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepare_application(); }

    void window_follows_the_setting_data();
    void window_follows_the_setting();

  private:
    QString observe_window_of(const Layout& layout, const FieldCase& row);
};

QString LayoutFieldsTest::observe_window_of(const Layout& layout, const FieldCase& row) {
    MainWindow window(layout.window, layout.controls);
    if (!show_and_activate(window)) {
        return QStringLiteral("window never active");
    }
    return row.observe(window, row.id);
}

void LayoutFieldsTest::window_follows_the_setting_data() {
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < field_cases().size(); ++i) {
        QTest::newRow(field_cases()[i].field) << static_cast<int>(i);
    }
}

void LayoutFieldsTest::window_follows_the_setting() {
    QFETCH(int, row);
    const FieldCase& field = field_cases()[static_cast<std::size_t>(row)];
    // A row whose two windows may look alike could not catch a window that ignores the setting.
    QVERIFY(QByteArray(field.from_table) != QByteArray(field.from_copy));
    Layout table;
    if (field.prepare != nullptr) {
        field.prepare(table);
    }
    Layout copy = table;
    field.change(copy);

    QCOMPARE(observe_window_of(table, field), QString::fromUtf8(field.from_table));
    QCOMPARE(observe_window_of(copy, field), QString::fromUtf8(field.from_copy));
}

}  // namespace proxylist::testing

QTEST_MAIN(proxylist::testing::LayoutFieldsTest)
#include "layout_fields_test.moc"
