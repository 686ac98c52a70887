#include "ui/qt/self_painted_label.hpp"

#include <QPainter>

namespace proxylist {

SelfPaintedLabel::SelfPaintedLabel(const QString& text, Qt::Alignment horizontal,
                                   const QColor& text_colour, QWidget* parent)
    : QWidget(parent),
      text_(text),
      alignment_(horizontal | Qt::AlignVCenter),
      text_colour_(text_colour) {
    setFocusPolicy(Qt::NoFocus);
    // The whole rectangle is filled below; nothing behind it needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SelfPaintedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(text_colour_);
    painter.drawText(rect(), static_cast<int>(alignment_) | Qt::TextSingleLine, text_);
}

}  // namespace proxylist
