#include "ui/qt/control_factory.hpp"

#include <algorithm>

#include "ui/qt/box_colours.hpp"
#include "ui/qt/drop_down_list.hpp"
#include "ui/qt/list_box.hpp"
#include "ui/qt/number_box.hpp"
#include "ui/qt/push_button.hpp"
#include "ui/qt/qt_text.hpp"
#include "ui/qt/self_painted_label.hpp"
#include "ui/qt/single_line_box.hpp"

namespace proxylist {
namespace {

// The edge of a sunken border, in pixels, on both sides of a box.
constexpr int border_edge = 2;

std::unique_ptr<QWidget> create_label(const ControlLayout& layout, const LabelSettings& settings,
                                      QWidget* parent) {
    return std::make_unique<SelfPaintedLabel>(qstring_from_utf8(layout.text),
                                              qt_alignment(settings.alignment),
                                              qcolor(settings.text_colour), parent);
}

std::unique_ptr<QWidget> create_single_line_box(const ControlLayout& layout,
                                                const EditBoxSettings& settings, QWidget* parent) {
    std::unique_ptr<QLineEdit> box;
    if (settings.whole_number) {
        box = std::make_unique<NumberBox>(settings, parent);
    } else {
        box = std::make_unique<SingleLineBox>(settings, parent);
    }
    box->setText(qstring_from_utf8(layout.text));
    box->setCursorPosition(0);
    return box;
}

std::unique_ptr<QWidget> create_list_box(const ControlLayout& layout,
                                         const EditBoxSettings& settings, QWidget* parent) {
    auto box = std::make_unique<ListBox>(settings, parent);
    box->set_list_text(qstring_from_utf8(layout.text));
    return box;
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
        widget = std::make_unique<PushButton>(qstring_from_utf8(layout.text), *button, parent);
    } else if (const auto* combo = std::get_if<ComboBoxSettings>(&layout.settings)) {
        widget = std::make_unique<DropDownList>(*combo, parent);
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
