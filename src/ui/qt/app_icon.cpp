#include "ui/qt/app_icon.hpp"

#include <QPainter>
#include <QPixmap>

#include "ui/qt/icon_shapes.hpp"

namespace proxylist {

QImage application_icon_image(int size) {
    // Drawn into an image rather than a pixmap, so that the pixels do not depend on the
    // window system.
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const qreal unit = size / icon_grid;
    for (const IconShape& shape : icon_shapes) {
        painter.setBrush(QColor(shape.colour.red, shape.colour.green, shape.colour.blue));
        const QRectF place(shape.left * unit, shape.top * unit, shape.width * unit,
                           shape.height * unit);
        if (shape.kind == IconShapeKind::circle) {
            painter.drawEllipse(place);
        } else {
            painter.drawRoundedRect(place, shape.corner_radius * unit, shape.corner_radius * unit);
        }
    }
    return image;
}

QIcon application_icon() {
    QIcon icon;
    for (const int size : icon_sizes) {
        icon.addPixmap(QPixmap::fromImage(application_icon_image(size)));
    }
    return icon;
}

}  // namespace proxylist
