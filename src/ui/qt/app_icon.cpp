#include "ui/qt/app_icon.hpp"

#include <QPainter>
#include <QPixmap>

namespace proxylist {
namespace {

// A lake-blue tile with three list lines and a dot each: a list of addresses.
QPixmap icon_pixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 16.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2B, 0x6C, 0xB0));
    painter.drawRoundedRect(QRectF(0.5 * unit, 0.5 * unit, 15 * unit, 15 * unit), 3 * unit,
                            3 * unit);
    painter.setBrush(Qt::white);
    for (int row = 0; row < 3; ++row) {
        const qreal y = (4 + row * 3.5) * unit;
        painter.drawEllipse(QPointF(4 * unit, y + 0.75 * unit), 1.1 * unit, 1.1 * unit);
        painter.drawRoundedRect(QRectF(6.5 * unit, y, 6.5 * unit, 1.5 * unit), 0.7 * unit,
                                0.7 * unit);
    }
    return pixmap;
}

}  // namespace

QIcon application_icon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128}) {
        icon.addPixmap(icon_pixmap(size));
    }
    return icon;
}

}  // namespace proxylist
