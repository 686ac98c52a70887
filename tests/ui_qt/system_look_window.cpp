// The program's window with the visual style switched off again, to show the system look
// beside the product's style (scripts/screenshot takes a program to capture).
#include "ui/qt/shell.hpp"
#include "ui/qt/start_failure.hpp"
#include "ui/qt/visual_style.hpp"

int main(int argc, char** argv) {
    proxylist::ShellHooks hooks;
    hooks.before_show = [](proxylist::MainWindow&) { proxylist::QtVisualStyle().switch_on(0); };
    proxylist::leave_process(proxylist::run_shell(argc, argv, hooks));
}
