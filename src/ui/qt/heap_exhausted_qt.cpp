// The desktop program's report of an exhausted heap: a message box with the number of bytes
// asked for, then exit code -1. Standard error carries the same words, also where no box can
// be shown.
#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <cstdio>
#include <cstdlib>

#include "text/heap_exhausted.hpp"

namespace proxylist {
namespace {

void show_message_box(const char* message) {
    QMessageBox::critical(nullptr, QString(), QString::fromUtf8(message));
}

}  // namespace

void on_heap_exhausted(std::size_t requested_bytes) noexcept {
    char message[160];
    format_heap_exhausted_message(requested_bytes, message, sizeof message);
    std::fprintf(stderr, "%s\n", message);
    std::fflush(stderr);
    try {
        auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
        if (app != nullptr && !QCoreApplication::closingDown()) {
            if (QThread::currentThread() == app->thread()) {
                show_message_box(message);
            } else {
                // Only the GUI thread may show a window; this thread waits until it is closed.
                QMetaObject::invokeMethod(
                    app, [&message] { show_message_box(message); }, Qt::BlockingQueuedConnection);
            }
        }
    } catch (...) {
        // Too little memory left even for the box: standard error has said it.
    }
    std::fflush(nullptr);
    std::_Exit(-1);
}

}  // namespace proxylist
