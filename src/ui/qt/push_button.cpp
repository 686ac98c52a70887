#include "ui/qt/push_button.hpp"

#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace proxylist {

PushButton::PushButton(const QString& caption, const ButtonSettings& settings, QWidget* parent)
    : QPushButton(caption, parent), caption_wraps_(settings.caption_wraps) {
    setAutoDefault(false);
    setDefault(settings.is_default);
}

void PushButton::paintEvent(QPaintEvent* event) {
    if (!caption_wraps_) {
        QPushButton::paintEvent(event);
        return;
    }
    // The steps of the style's own push button, with a label that may wrap.
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (option.state & (QStyle::State_Sunken | QStyle::State_On)) {
        contents.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                           style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    painter.drawItemText(contents, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic,
                         option.palette, isEnabled(), text(), QPalette::ButtonText);

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

}  // namespace proxylist
