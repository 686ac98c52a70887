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

// Shows the box and ends the process from the GUI thread itself: once the box is gone nothing
// else may run, not even the rest of an event loop that the closed box might end.
[[noreturn]] void show_message_box_and_leave(const char* message) {
    try {
        QMessageBox::critical(nullptr, QString(), QString::fromUtf8(message));
    } catch (...) {
        // Too little memory left even for the box: standard error has said it.
    }
    std::fflush(nullptr);
    std::_Exit(-1);
}

}  // namespace

void on_heap_exhausted(std::size_t requested_bytes) noexcept {
    char message[160];
    format_heap_exhausted_message(requested_bytes, message, sizeof message);
    std::fprintf(stderr, "%s\n", message);
    std::fflush(stderr);
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app != nullptr && !QCoreApplication::closingDown()) {
        if (QThread::currentThread() == app->thread()) {
            show_message_box_and_leave(message);
        }
        // Only the GUI thread may show a window; this thread waits while it does.
        try {
            QMetaObject::invokeMethod(
                app, [&message] { show_message_box_and_leave(message); },
                Qt::BlockingQueuedConnection);
        } catch (...) {
            // No memory to post the request: standard error has said it.
        }
    }
    std::fflush(nullptr);
    std::_Exit(-1);
}

}  // namespace proxylist
