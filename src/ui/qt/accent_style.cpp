#include "ui/qt/accent_style.hpp"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyleOption>
#include <QStyleOptionComboBox>
#include <QStyleOptionSlider>
#include <algorithm>
#include <utility>

namespace proxylist {
namespace {

constexpr qreal corner_radius = 3.0;

const QColor border_colour(0xa3, 0xad, 0xba);
const QColor disabled_border_colour(0xcf, 0xd4, 0xda);
const QColor disabled_fill_colour(0xf3, 0xf4, 0xf6);
const QColor disabled_mark_colour(0xa9, 0xb0, 0xb8);
const QColor scroll_groove_colour(0xf4, 0xf6, 0xf9);

QColor mix(const QColor& a, const QColor& b, qreal share_of_b) {
    const qreal share_of_a = 1.0 - share_of_b;
    return QColor::fromRgbF(static_cast<float>(a.redF() * share_of_a + b.redF() * share_of_b),
                            static_cast<float>(a.greenF() * share_of_a + b.greenF() * share_of_b),
                            static_cast<float>(a.blueF() * share_of_a + b.blueF() * share_of_b));
}

// Half-pixel inset so that a one-pixel pen lies on whole pixels.
QRectF stroke_rect(const QRect& rect) {
    return QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
}

bool enabled(const QStyleOption& option) {
    return option.state & QStyle::State_Enabled;
}

bool is_combo_popup_view(const QWidget* widget) {
    return widget != nullptr && qobject_cast<const QAbstractItemView*>(widget) != nullptr &&
           widget->parentWidget() != nullptr &&
           qobject_cast<const QComboBox*>(widget->parentWidget()->parentWidget()) != nullptr;
}

// The multi-line edit box: a scroll area whose frame this style draws like a line edit's.
bool is_text_area(const QWidget* widget) {
    const auto* area = qobject_cast<const QAbstractScrollArea*>(widget);
    return area != nullptr && qobject_cast<const QAbstractItemView*>(widget) == nullptr;
}

// Scroll areas keep their scroll bars in a container of their own.
bool is_text_area_scroll_bar(const QWidget* widget) {
    for (int level = 0; level < 2 && widget != nullptr; ++level) {
        widget = widget->parentWidget();
        if (is_text_area(widget)) {
            return true;
        }
    }
    return false;
}

}  // namespace

QColor accent_colour(int style_number) {
    switch (style_number) {
        case 1:
            return {0x4a, 0x5d, 0x78};
        case 3:
            return {0x2f, 0x85, 0x5a};
        default:
            return {0x2b, 0x6c, 0xb0};
    }
}

AccentStyle::AccentStyle(const QString& system_style, int style_number)
    : QProxyStyle(system_style),
      style_number_(style_number),
      accent_(accent_colour(style_number)) {}

void AccentStyle::polish(QPalette& palette) {
    QProxyStyle::polish(palette);
    // Selections in the accent colour; edit boxes keep their own inactive colours, which hide
    // the selection while they lack the focus.
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, accent_);
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
}

void AccentStyle::polish(QWidget* widget) {
    QProxyStyle::polish(widget);
    const bool drawn_here = qobject_cast<QPushButton*>(widget) != nullptr ||
                            qobject_cast<QComboBox*>(widget) != nullptr ||
                            qobject_cast<QLineEdit*>(widget) != nullptr || is_text_area(widget);
    if (drawn_here) {
        // Outlines follow the mouse.
        widget->setAttribute(Qt::WA_Hover);
    }
    if (is_text_area(widget)) {
        // Its frame shows the focus, and a frame is not repainted on focus changes by itself.
        widget->installEventFilter(this);
    }
}

void AccentStyle::unpolish(QWidget* widget) {
    if (is_text_area(widget)) {
        widget->removeEventFilter(this);
    }
    QProxyStyle::unpolish(widget);
}

bool AccentStyle::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (auto* widget = qobject_cast<QWidget*>(watched)) {
            widget->update();
        }
    }
    return QProxyStyle::eventFilter(watched, event);
}

void AccentStyle::draw_field(QPainter* painter, const QStyleOption& option, bool fill) const {
    const bool focused = option.state & QStyle::State_HasFocus;
    const bool hovered = option.state & QStyle::State_MouseOver;
    QColor border = border_colour;
    if (!enabled(option)) {
        border = disabled_border_colour;
    } else if (focused) {
        border = accent_;
    } else if (hovered) {
        border = mix(border_colour, accent_, 0.45);
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF outline = stroke_rect(option.rect);
    if (fill) {
        const QColor base =
            enabled(option) ? option.palette.color(QPalette::Base) : disabled_fill_colour;
        painter->setPen(Qt::NoPen);
        painter->setBrush(base);
        painter->drawRoundedRect(outline, corner_radius, corner_radius);
    }
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(border, 1.0));
    painter->drawRoundedRect(outline, corner_radius, corner_radius);
    if (focused && enabled(option)) {
        // A soft inner ring, so that focus shows without a thicker outline.
        QColor ring = accent_;
        ring.setAlphaF(0.28f);
        painter->setPen(QPen(ring, 1.0));
        painter->drawRoundedRect(outline.adjusted(1, 1, -1, -1), corner_radius - 1,
                                 corner_radius - 1);
    }
    painter->restore();
}

void AccentStyle::draw_button_panel(QPainter* painter, const QStyleOption& option) const {
    const bool pressed = option.state & (QStyle::State_Sunken | QStyle::State_On);
    const bool hovered = option.state & QStyle::State_MouseOver;
    const bool focused = option.state & QStyle::State_HasFocus;
    const QRectF outline = stroke_rect(option.rect);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (!enabled(option)) {
        painter->setBrush(disabled_fill_colour);
    } else if (pressed) {
        painter->setBrush(mix(Qt::white, accent_, 0.22));
    } else {
        // A faint wash of the accent, deeper toward the bottom and under the mouse.
        QLinearGradient gradient(outline.topLeft(), outline.bottomLeft());
        gradient.setColorAt(0.0, mix(Qt::white, accent_, hovered ? 0.02 : 0.04));
        gradient.setColorAt(1.0, mix(Qt::white, accent_, hovered ? 0.22 : 0.15));
        painter->setBrush(gradient);
    }
    QColor border = mix(border_colour, accent_, 0.25);
    if (!enabled(option)) {
        border = disabled_border_colour;
    } else if (pressed || focused) {
        border = accent_;
    } else if (hovered) {
        border = mix(border_colour, accent_, 0.45);
    }
    painter->setPen(QPen(border, 1.0));
    painter->drawRoundedRect(outline, corner_radius, corner_radius);
    if (enabled(option) && !pressed) {
        // A light top edge gives the button a little lift.
        painter->setPen(QPen(QColor(255, 255, 255, 200), 1.0));
        painter->drawLine(QPointF(outline.left() + corner_radius, outline.top() + 1),
                          QPointF(outline.right() - corner_radius, outline.top() + 1));
    }
    painter->restore();
}

void AccentStyle::draw_combo_box(QPainter* painter, const QStyleOptionComplex& option,
                                 const QWidget* widget) const {
    QStyleOption field = option;
    // An open list counts as focus: the field stays in the accent while the list is up.
    if (option.state & QStyle::State_On) {
        field.state |= QStyle::State_HasFocus;
    }
    draw_field(painter, field, true);

    const QRect arrow_area = subControlRect(CC_ComboBox, &option, SC_ComboBoxArrow, widget);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    // A short divider between the text and the arrow.
    painter->setPen(
        QPen(enabled(option) ? mix(border_colour, Qt::white, 0.35) : disabled_border_colour, 1.0));
    const qreal divider_x = arrow_area.left() + 0.5;
    painter->drawLine(QPointF(divider_x, option.rect.top() + 4.5),
                      QPointF(divider_x, option.rect.bottom() - 3.5));
    // A chevron pointing down.
    const QPointF centre = QRectF(arrow_area).center() + QPointF(0.5, 0.5);
    QPainterPath chevron;
    chevron.moveTo(centre + QPointF(-3.5, -1.75));
    chevron.lineTo(centre + QPointF(0.0, 1.75));
    chevron.lineTo(centre + QPointF(3.5, -1.75));
    painter->setPen(QPen(enabled(option) ? accent_ : disabled_mark_colour, 1.5, Qt::SolidLine,
                         Qt::RoundCap, Qt::RoundJoin));
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(chevron);
    painter->restore();
}

void AccentStyle::draw_scroll_bar(QPainter* painter, const QStyleOptionSlider& option,
                                  const QWidget* widget) const {
    const bool can_scroll = option.maximum > option.minimum && enabled(option);
    painter->save();
    painter->fillRect(option.rect, scroll_groove_colour);
    painter->setPen(mix(scroll_groove_colour, border_colour, 0.35));
    painter->drawLine(option.rect.topLeft(), option.rect.bottomLeft());
    painter->setRenderHint(QPainter::Antialiasing);

    // The arrows: small chevrons, in the accent while there is something to scroll.
    const QColor mark = can_scroll ? accent_ : disabled_mark_colour;
    painter->setPen(QPen(mark, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->setBrush(Qt::NoBrush);
    for (const auto& [part, up] :
         {std::pair{SC_ScrollBarSubLine, true}, std::pair{SC_ScrollBarAddLine, false}}) {
        const QPointF centre =
            QRectF(subControlRect(CC_ScrollBar, &option, part, widget)).center() +
            QPointF(0.5, 0.5);
        const qreal tip = up ? -1.5 : 1.5;
        QPainterPath chevron;
        chevron.moveTo(centre + QPointF(-3.0, -tip));
        chevron.lineTo(centre + QPointF(0.0, tip));
        chevron.lineTo(centre + QPointF(3.0, -tip));
        painter->drawPath(chevron);
    }

    // The thumb, only when there is something to scroll.
    if (can_scroll) {
        const bool on_thumb = option.activeSubControls & SC_ScrollBarSlider;
        const bool dragging = on_thumb && (option.state & State_Sunken);
        QColor thumb = mix(border_colour, accent_, 0.25);
        if (dragging) {
            thumb = accent_;
        } else if (on_thumb && (option.state & State_MouseOver)) {
            thumb = mix(border_colour, accent_, 0.6);
        }
        const QRectF slider =
            QRectF(subControlRect(CC_ScrollBar, &option, SC_ScrollBarSlider, widget))
                .adjusted(3.5, 1.5, -2.5, -1.5);
        painter->setPen(Qt::NoPen);
        painter->setBrush(thumb);
        const qreal radius = std::min(slider.width(), slider.height()) / 2.0;
        painter->drawRoundedRect(slider, radius, radius);
    }
    painter->restore();
}

void AccentStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    switch (element) {
        case PE_PanelLineEdit:
            if (const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
                frame != nullptr && frame->lineWidth > 0) {
                draw_field(painter, *option, true);
                return;
            }
            break;
        case PE_FrameLineEdit:
            draw_field(painter, *option, false);
            return;
        case PE_PanelButtonCommand:
            draw_button_panel(painter, *option);
            return;
        case PE_FrameFocusRect:
            // Buttons and drop-down lists show the focus in their outline.
            if (qobject_cast<const QPushButton*>(widget) != nullptr ||
                qobject_cast<const QComboBox*>(widget) != nullptr) {
                return;
            }
            break;
        case PE_PanelMenu:
        case PE_FrameMenu:
            if (widget != nullptr && qobject_cast<const QComboBox*>(widget->parentWidget())) {
                painter->save();
                if (element == PE_PanelMenu) {
                    painter->fillRect(option->rect, option->palette.color(QPalette::Base));
                }
                painter->setPen(border_colour);
                painter->setBrush(Qt::NoBrush);
                painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
                painter->restore();
                return;
            }
            break;
        case PE_PanelItemViewItem:
            if (is_combo_popup_view(widget) && (option->state & State_Selected)) {
                painter->save();
                painter->setRenderHint(QPainter::Antialiasing);
                painter->setPen(Qt::NoPen);
                painter->setBrush(accent_);
                painter->drawRoundedRect(QRectF(option->rect).adjusted(1, 0.5, -1, -0.5), 2, 2);
                painter->restore();
                return;
            }
            break;
        default:
            break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void AccentStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
    if (element == CE_ShapedFrame && is_text_area(widget)) {
        draw_field(painter, *option, false);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void AccentStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     QPainter* painter, const QWidget* widget) const {
    if (control == CC_ScrollBar && is_text_area_scroll_bar(widget)) {
        // The scroll bar belongs to the edit box, so it takes the edit box's look.
        if (const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option)) {
            draw_scroll_bar(painter, *bar, widget);
            return;
        }
    }
    if (control == CC_ComboBox) {
        const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option);
        if (combo != nullptr && !combo->editable) {
            draw_combo_box(painter, *option, widget);
            return;
        }
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

}  // namespace proxylist
