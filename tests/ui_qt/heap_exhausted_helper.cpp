// Reports an exhausted heap the way the desktop program does, then prints what the message box
// said (or nothing when there was none) on standard output. The process test runs it:
//   ui_qt_heap_exhausted gui|worker|no-application BYTES
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "text/heap_exhausted.hpp"

namespace {

// Answers the message box the moment it shows: prints its text and closes it.
void answer_message_box() {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        std::printf("box: %s\n", box->text().toUtf8().constData());
        std::fflush(stdout);
        box->accept();
        return;
    }
    QTimer::singleShot(10, answer_message_box);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    const std::size_t bytes = std::strtoull(argv[2], nullptr, 10);
    if (std::strcmp(argv[1], "no-application") == 0) {
        proxylist::on_heap_exhausted(bytes);
    }
    QApplication app(argc, argv);
    QTimer::singleShot(0, answer_message_box);
    if (std::strcmp(argv[1], "worker") == 0) {
        QTimer::singleShot(
            0, [bytes] { std::thread([bytes] { proxylist::on_heap_exhausted(bytes); }).detach(); });
    } else {
        QTimer::singleShot(0, [bytes] { proxylist::on_heap_exhausted(bytes); });
    }
    QApplication::exec();
    return 3;
}
