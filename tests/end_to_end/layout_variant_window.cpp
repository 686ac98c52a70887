// The main window built from a copy of the layout with one setting changed, for the tests that
// watch what a window manager makes of it. The argument names the change:
//   immovable   the user may not move the window
#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "app/layout.hpp"
#include "ui/qt/gui_font.hpp"
#include "ui/qt/main_window.hpp"

int main(int argc, char** argv) {
    using namespace proxylist;
    QApplication application(argc, argv);
    use_default_gui_font();
    WindowLayout window = main_window_layout();
    const QStringList changes = QApplication::arguments().mid(1);
    for (const QString& change : changes) {
        if (change == QStringLiteral("immovable")) {
            window.movable = false;
        } else {
            std::fprintf(stderr, "unknown change: %s\n", qPrintable(change));
            return 2;
        }
    }
    MainWindow main_window(window, main_window_controls());
    main_window.show_centred();
    return QApplication::exec();
}
