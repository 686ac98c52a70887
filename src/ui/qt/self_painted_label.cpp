#include "ui/qt/self_painted_label.hpp"

#include <QPainter>

namespace proxylist {

SelfPaintedLabel::SelfPaintedLabel(const QString& text, Qt::Alignment horizontal,
                                   const QColor& text_colour, QWidget* parent)
    : QLabel(text, parent), text_colour_(text_colour) {
    setTextFormat(Qt::PlainText);
    setAlignment(horizontal | Qt::AlignVCenter);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    // The whole rectangle is filled below; nothing behind it needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SelfPaintedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(text_colour_);
    painter.drawText(rect(), static_cast<int>(alignment()) | Qt::TextSingleLine, text());
}

}  // namespace proxylist
