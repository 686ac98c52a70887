#include "ui/qt/shell.hpp"
#include "ui/qt/start_failure.hpp"

int main(int argc, char** argv) {
    // Leaving at once, rather than returning, lets a running extraction end with the process
    // instead of racing the static destructors.
    proxylist::leave_process(proxylist::run_shell(argc, argv));
}
