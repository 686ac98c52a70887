#include "ui/qt/event_wiring.hpp"

#include <QPushButton>

#include "ui/qt/main_window.hpp"

namespace proxylist {

void wire_click_handlers(MainWindow& window, const AppContext& app) {
    QObject::connect(window.push_button(ControlId::按钮1), &QPushButton::clicked, &window,
                     [&app] { handle_extract_click(app); });
    QObject::connect(window.push_button(ControlId::按钮2), &QPushButton::clicked, &window,
                     [&app] { handle_save_click(app); });
}

}  // namespace proxylist
