// The yardstick: a bare Qt window with the same fourteen widgets at the same places, and
// nothing else (no style, no filters, no control access, no font choice).
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <memory>
#include <vector>

#include "first_paint.hpp"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Quillmere__Tarnwick工具"));
    window.setFixedSize(339, 250);
    std::vector<std::unique_ptr<QWidget>> widgets;
    const auto place = [&](std::unique_ptr<QWidget> widget, int x, int y, int w, int h) {
        widget->setGeometry(x, y, w, h);
        widgets.push_back(std::move(widget));
    };
    const auto label = [&](const char* text, int x, int y, int w, int h) {
        place(std::make_unique<QLabel>(QString::fromUtf8(text), &window), x, y, w, h);
    };
    const auto line = [&](const char* text, int x, int y) {
        place(std::make_unique<QLineEdit>(QString::fromUtf8(text), &window), x, y, 88, 24);
    };
    label("数量：", 24, 16, 40, 24);
    label("开头：", 24, 48, 40, 24);
    label("端口：", 24, 80, 40, 24);
    line("10", 64, 16);
    line("", 64, 48);
    line("", 64, 80);
    place(std::make_unique<QPlainTextEdit>(&window), 168, 16, 160, 176);
    place(std::make_unique<QPushButton>(QString::fromUtf8("提取"), &window), 24, 184, 56, 32);
    place(std::make_unique<QPushButton>(QString::fromUtf8("保存"), &window), 96, 184, 56, 32);
    label("地区：", 24, 112, 40, 24);
    line("北京", 64, 112);
    label("运营商：", 16, 144, 48, 24);
    auto combo = std::make_unique<QComboBox>(&window);
    combo->addItems({QString::fromUtf8("全部运营商"), QString::fromUtf8("电信"),
                     QString::fromUtf8("联通"), QString::fromUtf8("移动")});
    place(std::move(combo), 64, 144, 88, 22);
    label("bug反馈qq：314159", 176, 200, 128, 16);

    proxylist::bench::report_first_paint_and_leave(window);
    window.show();
    return QApplication::exec();
}
