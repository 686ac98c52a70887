#include "icon_files.hpp"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "ui/qt/app_icon.hpp"
#include "ui/qt/icon_shapes.hpp"

namespace proxylist {
namespace {

// Sizes above this go into the Windows icon as PNG.
constexpr int largest_bitmap_entry = 128;

QByteArray number(double value) {
    return QByteArray::number(value, 'g', 6);
}

QByteArray hex_colour(IconColour colour) {
    return QByteArray("#") +
           QByteArray::number((colour.red << 16) | (colour.green << 8) | colour.blue, 16)
               .rightJustified(6, '0');
}

void put_le16(QByteArray& out, std::uint16_t value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>(value >> 8));
}

void put_le32(QByteArray& out, std::uint32_t value) {
    put_le16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    put_le16(out, static_cast<std::uint16_t>(value >> 16));
}

// A 32-bit bitmap with alpha as an icon resource holds it: a BITMAPINFOHEADER of twice the
// height, the colour rows bottom up, then the transparency mask rows bottom up.
QByteArray bitmap_entry(const QImage& icon) {
    const QImage image = icon.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    const int mask_row_bytes = ((width + 31) / 32) * 4;
    QByteArray out;
    put_le32(out, 40);
    put_le32(out, static_cast<std::uint32_t>(width));
    put_le32(out, static_cast<std::uint32_t>(2 * height));
    put_le16(out, 1);
    put_le16(out, 32);
    put_le32(out, 0);  // BI_RGB
    put_le32(out, static_cast<std::uint32_t>(width * height * 4 + mask_row_bytes * height));
    for (int i = 0; i < 4; ++i) {
        put_le32(out, 0);
    }
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = image.pixel(x, y);
            out.append(static_cast<char>(qBlue(pixel)));
            out.append(static_cast<char>(qGreen(pixel)));
            out.append(static_cast<char>(qRed(pixel)));
            out.append(static_cast<char>(qAlpha(pixel)));
        }
    }
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(mask_row_bytes, '\0');
        for (int x = 0; x < width; ++x) {
            if (qAlpha(image.pixel(x, y)) == 0) {
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out.append(row);
    }
    return out;
}

bool write_file(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

QByteArray icon_svg() {
    QByteArray svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 " +
        number(icon_grid) + ' ' + number(icon_grid) + "\">\n";
    for (const IconShape& shape : icon_shapes) {
        if (shape.kind == IconShapeKind::circle) {
            svg += "  <circle cx=\"" + number(shape.left + shape.width / 2) + "\" cy=\"" +
                   number(shape.top + shape.height / 2) + "\" r=\"" + number(shape.width / 2) + '"';
        } else {
            svg += "  <rect x=\"" + number(shape.left) + "\" y=\"" + number(shape.top) +
                   "\" width=\"" + number(shape.width) + "\" height=\"" + number(shape.height) +
                   "\" rx=\"" + number(shape.corner_radius) + '"';
        }
        svg += " fill=\"" + hex_colour(shape.colour) + "\"/>\n";
    }
    svg += "</svg>\n";
    return svg;
}

QByteArray icon_png(int size) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    application_icon_image(size).convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG");
    return png;
}

QByteArray icon_ico() {
    std::vector<QByteArray> entries;
    for (const int size : icon_sizes) {
        entries.push_back(size > largest_bitmap_entry ? icon_png(size)
                                                      : bitmap_entry(application_icon_image(size)));
    }
    QByteArray ico;
    put_le16(ico, 0);  // reserved
    put_le16(ico, 1);  // an icon, not a cursor
    put_le16(ico, static_cast<std::uint16_t>(icon_sizes.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(icon_sizes.size());
    for (std::size_t i = 0; i < icon_sizes.size(); ++i) {
        // A width or height of 256 is written as 0.
        const auto side = static_cast<char>(icon_sizes[i] % 256);
        ico.append(side);
        ico.append(side);
        ico.append('\0');  // no palette
        ico.append('\0');
        put_le16(ico, 1);   // colour planes
        put_le16(ico, 32);  // bits per pixel
        put_le32(ico, static_cast<std::uint32_t>(entries[i].size()));
        put_le32(ico, offset);
        offset += static_cast<std::uint32_t>(entries[i].size());
    }
    for (const QByteArray& entry : entries) {
        ico.append(entry);
    }
    return ico;
}

bool write_icon_files(const QString& folder) {
    const QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(folder));
        return false;
    }
    const QString stem = QString::fromLatin1(icon_file_stem);
    bool written = write_file(dir.filePath(stem + QStringLiteral(".svg")), icon_svg());
    for (const int size : icon_sizes) {
        written = write_file(dir.filePath(QStringLiteral("%1-%2.png").arg(stem).arg(size)),
                             icon_png(size)) &&
                  written;
    }
    return write_file(dir.filePath(stem + QStringLiteral(".ico")), icon_ico()) && written;
}

}  // namespace proxylist
