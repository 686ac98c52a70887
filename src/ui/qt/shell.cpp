#include "ui/qt/shell.hpp"

#include <QApplication>
#include <QWindow>
#include <memory>
#include <optional>

#include "app/files.hpp"
#include "app/layout.hpp"
#include "app/service_url.hpp"
#include "app/window_created.hpp"
#include "ui/qt/accessibility.hpp"
#include "ui/qt/app_icon.hpp"
#include "ui/qt/event_wiring.hpp"
#include "ui/qt/gui_font.hpp"
#include "ui/qt/main_window.hpp"
#include "ui/qt/qt_controls.hpp"
#include "ui/qt/start_failure.hpp"
#include "ui/qt/visual_style.hpp"

namespace proxylist {

int run_shell(int& argc, char** argv, const ShellHooks& hooks) {
    // 1. Prepare: what the commands need from the process, taken once.
    AppContext app_context;
    app_context.run_directory = run_directory();
    app_context.service_url = service_url();

    // 2. Create the window from its layout, hidden, with all its controls.
    std::optional<StartFailureGuard> start_failure(std::in_place);
    QApplication application(argc, argv);
    QApplication::setWindowIcon(application_icon());
    use_default_gui_font();
    install_accessibility();
    MainWindow window(main_window_layout(), main_window_controls());
    // The native window exists from here on, as the window system's own window would.
    window.winId();
    if (window.windowHandle() == nullptr) {
        report_window_failure(QStringLiteral("The window system gave no window."));
    }
    start_failure.reset();

    auto controls = std::make_shared<QtControls>(window);
    app_context.controls = controls;
    wire_click_handlers(window, app_context);

    // 3. Creation complete.
    QtVisualStyle visual_style;
    handle_window_created(visual_style, *controls);
    if (hooks.before_show) {
        hooks.before_show(window);
    }

    // 4. Show.
    window.show_centred();
    if (hooks.after_show) {
        hooks.after_show(window, app_context);
    }

    // 5. The loop ends when the last window, the main window, has closed.
    const int exit_code = QApplication::exec();
    controls->window_gone();
    return exit_code;
}

}  // namespace proxylist
