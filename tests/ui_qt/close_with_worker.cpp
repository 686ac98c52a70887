// The program as shipped, with a worker that keeps asking the window for its text when the
// window closes. Exits as the program does; the process test expects exit code 0, at once.
#include <QTimer>
#include <thread>

#include "ui/qt/main_window.hpp"
#include "ui/qt/shell.hpp"
#include "ui/qt/start_failure.hpp"

int main(int argc, char** argv) {
    proxylist::ShellHooks hooks;
    hooks.after_show = [](proxylist::MainWindow& window, const proxylist::AppContext& app) {
        // Never joined: it is blocked in a call to the GUI thread, or about to be, when the
        // event loop ends.
        std::thread([controls = app.controls] {
            for (;;) {
                (void)controls->edit_text(proxylist::ControlId::编辑框1);
            }
        }).detach();
        QTimer::singleShot(100, &window, &QWidget::close);
    };
    proxylist::leave_process(proxylist::run_shell(argc, argv, hooks));
}
