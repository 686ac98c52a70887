// The icon files under assets/icon against the program's own drawing of its icon: each PNG and
// each size in the Windows icon holds exactly the pixels the program draws, and the SVG is the
// one written from the same shapes and looks the same. A failure here means the drawing changed
// and the files were not written again (the build's icon-files target writes them).
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "icon_files.hpp"
#include "ui/qt/app_icon.hpp"
#include "ui/qt/icon_shapes.hpp"

namespace proxylist::testing {
namespace {

QString icon_path(const QString& name) {
    return QStringLiteral(ICON_FOLDER "/") + name;
}

QByteArray file_bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage drawn(int size) {
    return application_icon_image(size).convertToFormat(QImage::Format_ARGB32);
}

// How many pixels differ, in any channel, by more than the tolerance.
int differing_pixels(const QImage& a, const QImage& b, int tolerance = 0) {
    if (a.size() != b.size()) {
        return -1;
    }
    const QImage left = a.convertToFormat(QImage::Format_ARGB32);
    const QImage right = b.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y);
            const QRgb q = right.pixel(x, y);
            const int worst =
                std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            count += worst > tolerance ? 1 : 0;
        }
    }
    return count;
}

std::uint32_t le(const QByteArray& bytes, qsizetype at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    }
    return value;
}

}  // namespace

class AppIconTest : public QObject {
    Q_OBJECT

  private slots:
    void png_holds_the_drawn_icon_data();
    void png_holds_the_drawn_icon();
    void windows_icon_lists_every_size_from_16_to_256();
    void windows_icon_decodes_to_the_drawn_icon();
    void svg_is_written_from_the_shapes();
    void svg_looks_like_the_drawn_icon();
    void program_icon_has_every_size();
};

void AppIconTest::png_holds_the_drawn_icon_data() {
    QTest::addColumn<int>("size");
    for (const int size : icon_sizes) {
        QTest::newRow(QByteArray::number(size).constData()) << size;
    }
}

void AppIconTest::png_holds_the_drawn_icon() {
    QFETCH(int, size);
    const QImage file(icon_path(QStringLiteral("proxy-list-tool-%1.png").arg(size)));
    QVERIFY(!file.isNull());
    QCOMPARE(file.size(), QSize(size, size));
    QCOMPARE(differing_pixels(file, drawn(size)), 0);
}

void AppIconTest::windows_icon_lists_every_size_from_16_to_256() {
    const QByteArray ico = file_bytes(icon_path(QStringLiteral("proxy-list-tool.ico")));
    QVERIFY(ico.size() > 6);
    QCOMPARE(le(ico, 0, 2), 0U);
    QCOMPARE(le(ico, 2, 2), 1U);  // an icon
    const auto count = static_cast<int>(le(ico, 4, 2));
    QCOMPARE(count, static_cast<int>(icon_sizes.size()));
    std::vector<int> sizes;
    for (int i = 0; i < count; ++i) {
        const qsizetype entry = 6 + 16 * i;
        const auto width = static_cast<int>(le(ico, entry, 1));
        const auto height = static_cast<int>(le(ico, entry + 1, 1));
        QCOMPARE(width, height);
        sizes.push_back(width == 0 ? 256 : width);
        QCOMPARE(le(ico, entry + 6, 2), 32U);  // bits per pixel
        const std::uint32_t length = le(ico, entry + 8, 4);
        const std::uint32_t offset = le(ico, entry + 12, 4);
        QVERIFY(offset + length <= static_cast<std::uint32_t>(ico.size()));
    }
    QCOMPARE(sizes, std::vector<int>(icon_sizes.begin(), icon_sizes.end()));
}

void AppIconTest::windows_icon_decodes_to_the_drawn_icon() {
    QImageReader reader(icon_path(QStringLiteral("proxy-list-tool.ico")), "ico");
    QCOMPARE(reader.imageCount(), static_cast<int>(icon_sizes.size()));
    std::vector<int> decoded;
    for (int i = 0; i < reader.imageCount(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.width(), image.height());
        QCOMPARE(differing_pixels(image, drawn(image.width())), 0);
        decoded.push_back(image.width());
    }
    QCOMPARE(decoded, std::vector<int>(icon_sizes.begin(), icon_sizes.end()));
}

void AppIconTest::svg_is_written_from_the_shapes() {
    QCOMPARE(file_bytes(icon_path(QStringLiteral("proxy-list-tool.svg"))), icon_svg());
}

void AppIconTest::svg_looks_like_the_drawn_icon() {
    QSvgRenderer svg(icon_path(QStringLiteral("proxy-list-tool.svg")));
    QVERIFY(svg.isValid());
    for (const int size : {16, 48, 256}) {
        QImage rendered(size, size, QImage::Format_ARGB32_Premultiplied);
        rendered.fill(Qt::transparent);
        {
            QPainter painter(&rendered);
            svg.render(&painter);
        }
        // The SVG is drawn through a scaled painter, which smooths curved edges a little
        // differently; a shape out of place would leave pixels of one colour where the other
        // belongs.
        QCOMPARE(differing_pixels(rendered, drawn(size), 128), 0);
        QVERIFY(differing_pixels(rendered, drawn(size), 16) <= size * size / 100);
    }
}

void AppIconTest::program_icon_has_every_size() {
    std::vector<int> sizes;
    for (const QSize size : application_icon().availableSizes()) {
        QCOMPARE(size.width(), size.height());
        sizes.push_back(size.width());
    }
    std::sort(sizes.begin(), sizes.end());
    QCOMPARE(sizes, std::vector<int>(icon_sizes.begin(), icon_sizes.end()));
}

}  // namespace proxylist::testing

QTEST_MAIN(proxylist::testing::AppIconTest)
#include "app_icon_test.moc"
