#include "ui/qt/start_failure.hpp"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <cstdio>
#include <cstdlib>

namespace proxylist {
namespace {

constexpr const char* window_failure_message = "无法创建主窗口，程序将退出。";

void print_line(const QString& line) {
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

void report_fatal_start_message(QtMsgType type, const QMessageLogContext& context,
                                const QString& message) {
    print_line(qFormatLogMessage(type, context, message));
    if (type == QtFatalMsg) {
        // Whatever failed, the window system is not usable: no box can be shown.
        print_line(QString::fromUtf8(window_failure_message));
        leave_process(-1);
    }
}

bool can_show_message_box() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr &&
           QThread::currentThread() == QCoreApplication::instance()->thread();
}

}  // namespace

StartFailureGuard::StartFailureGuard()
    : previous_(qInstallMessageHandler(report_fatal_start_message)) {}

StartFailureGuard::~StartFailureGuard() {
    qInstallMessageHandler(previous_);
}

void report_window_failure(const QString& reason) {
    const QString message = QString::fromUtf8(window_failure_message) + u'\n' + reason;
    print_line(message);
    if (can_show_message_box()) {
        QMessageBox::critical(nullptr, QString(), message);
    }
    leave_process(-1);
}

void leave_process(int exit_code) {
    std::fflush(nullptr);
    std::_Exit(exit_code);
}

}  // namespace proxylist
