#include "ui/qt/control_factory.hpp"

#include <QAbstractItemView>
#include <QFrame>
#include <QLineEdit>
#include <QPalette>
#include <algorithm>
#include <limits>

#include "ui/qt/drop_down_list.hpp"
#include "ui/qt/list_box.hpp"
#include "ui/qt/number_box.hpp"
#include "ui/qt/qt_text.hpp"
#include "ui/qt/self_painted_label.hpp"
#include "ui/qt/wrapping_push_button.hpp"

namespace proxylist {
namespace {

// The edge of a sunken border, in pixels, on both sides of a box.
constexpr int border_edge = 2;

QColor qcolor(Colour c) {
    return {c.red, c.green, c.blue};
}

Qt::Alignment horizontal(TextAlignment alignment) {
    return alignment == TextAlignment::centre ? Qt::AlignHCenter : Qt::AlignLeft;
}

// Black on white set by the box itself, whatever the system's colours. Without the focus, in
// an inactive window too, a selection is painted in the box's own colours: hidden, not lost.
void set_box_colours(QWidget& widget, Colour text, Colour background) {
    QPalette palette = widget.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Text, qcolor(text));
        palette.setColor(group, QPalette::Base, qcolor(background));
    }
    palette.setColor(QPalette::Inactive, QPalette::Highlight, qcolor(background));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, qcolor(text));
    widget.setPalette(palette);
}

std::unique_ptr<QWidget> create_label(const ControlLayout& layout, const LabelSettings& settings,
                                      QWidget* parent) {
    return std::make_unique<SelfPaintedLabel>(qstring_from_utf8(layout.text),
                                              horizontal(settings.alignment),
                                              qcolor(settings.text_colour), parent);
}

std::unique_ptr<QWidget> create_single_line_box(const ControlLayout& layout,
                                                const EditBoxSettings& settings, QWidget* parent) {
    std::unique_ptr<QLineEdit> box;
    if (settings.whole_number) {
        box = std::make_unique<NumberBox>(*settings.whole_number, parent);
    } else {
        box = std::make_unique<QLineEdit>(parent);
    }
    box->setFrame(settings.sunken_border);
    box->setAlignment(horizontal(settings.alignment) | Qt::AlignVCenter);
    box->setReadOnly(settings.read_only);
    // QLineEdit's own default limit is 32767 characters; a limit of 0 means none of our own.
    box->setMaxLength(settings.length_limit > 0 ? settings.length_limit
                                                : std::numeric_limits<int>::max());
    box->setText(qstring_from_utf8(layout.text));
    box->setCursorPosition(0);
    set_box_colours(*box, settings.text_colour, settings.background);
    return box;
}

std::unique_ptr<QWidget> create_list_box(const ControlLayout& layout,
                                         const EditBoxSettings& settings, QWidget* parent) {
    auto box = std::make_unique<ListBox>(parent);
    box->setFrameStyle(settings.sunken_border ? QFrame::StyledPanel | QFrame::Sunken
                                              : QFrame::NoFrame);
    box->setReadOnly(settings.read_only);
    box->set_list_text(qstring_from_utf8(layout.text));
    set_box_colours(*box, settings.text_colour, settings.background);
    return box;
}

std::unique_ptr<QWidget> create_button(const ControlLayout& layout, const ButtonSettings& settings,
                                       QWidget* parent) {
    auto button = std::make_unique<WrappingPushButton>(qstring_from_utf8(layout.text), parent);
    button->setDefault(settings.is_default);
    return button;
}

std::unique_ptr<QWidget> create_drop_down_list(const ComboBoxSettings& settings, QWidget* parent) {
    QStringList items;
    for (const std::string_view item : settings.items) {
        items.append(qstring_from_utf8(item));
    }
    auto list = std::make_unique<DropDownList>(items, settings.current_item,
                                               settings.extra_item_height, parent);
    const QColor text = qcolor(settings.text_colour);
    const QColor background = qcolor(settings.background);
    QPalette palette = list->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::Base, background);
    }
    list->setPalette(palette);
    list->view()->setPalette(palette);
    return list;
}

Qt::FocusPolicy focus_policy(const ControlLayout& layout) {
    if (layout.kind == ControlKind::label) {
        return Qt::NoFocus;
    }
    // Controls that are no tab stop still take the focus when clicked.
    return layout.tab_stop ? Qt::StrongFocus : Qt::ClickFocus;
}

int placed_height(const ControlLayout& layout, const QWidget& widget) {
    if (const auto* box = std::get_if<EditBoxSettings>(&layout.settings);
        box != nullptr && box->lines == LineMode::single) {
        // A single-line box is at least one line of its font tall, plus its border.
        return std::max(layout.place.height, widget.fontMetrics().height() + 2 * border_edge);
    }
    if (layout.kind == ControlKind::combo_box) {
        // The closed height of a drop-down list follows from its font.
        return widget.sizeHint().height();
    }
    return layout.place.height;
}

}  // namespace

std::unique_ptr<QWidget> create_control(const ControlLayout& layout, QWidget* parent) {
    std::unique_ptr<QWidget> widget;
    if (const auto* label = std::get_if<LabelSettings>(&layout.settings)) {
        widget = create_label(layout, *label, parent);
    } else if (const auto* box = std::get_if<EditBoxSettings>(&layout.settings)) {
        widget = box->lines == LineMode::multi ? create_list_box(layout, *box, parent)
                                               : create_single_line_box(layout, *box, parent);
    } else if (const auto* button = std::get_if<ButtonSettings>(&layout.settings)) {
        widget = create_button(layout, *button, parent);
    } else if (const auto* combo = std::get_if<ComboBoxSettings>(&layout.settings)) {
        widget = create_drop_down_list(*combo, parent);
    }
    widget->setObjectName(qstring_from_utf8(control_name(layout.id)));
    widget->setFocusPolicy(focus_policy(layout));
    widget->setEnabled(layout.enabled);
    widget->setGeometry(layout.place.left, layout.place.top, layout.place.width,
                        placed_height(layout, *widget));
    widget->setVisible(layout.visible);
    return widget;
}

}  // namespace proxylist
