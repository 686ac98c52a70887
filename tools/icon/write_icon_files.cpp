// Writes the application's icon files, drawn the way the program draws its icon:
//
//   write-icon-files FOLDER
//
// The build's icon-files target runs it on assets/icon.
#include <QGuiApplication>
#include <cstdio>

#include "icon_files.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write-icon-files FOLDER\n");
        return 2;
    }
    // Painting text-free shapes needs no window system.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication application(argc, argv);
    return proxylist::write_icon_files(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
