#include "window_fixture.hpp"

#include <QTest>

#include "app/layout.hpp"
#include "text/codepage.hpp"
#include "ui/qt/accessibility.hpp"
#include "ui/qt/gui_font.hpp"
#include "ui/qt/qt_text.hpp"

namespace proxylist::testing {

void prepare_application() {
    use_default_gui_font();
    install_accessibility();
}

std::unique_ptr<MainWindow> make_main_window() {
    return std::make_unique<MainWindow>(main_window_layout(), main_window_controls());
}

bool show_and_activate(MainWindow& window) {
    window.show_centred();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

QString name_of(ControlId id) {
    return qstring_from_utf8(control_name(id));
}

QByteArray bytes(const Text& text) {
    return QByteArray(text.view().data(), static_cast<qsizetype>(text.size()));
}

Text cp936(const char* utf8) {
    return cp936_from_utf8(utf8);
}

}  // namespace proxylist::testing
