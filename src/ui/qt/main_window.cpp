#include "ui/qt/main_window.hpp"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "ui/qt/control_factory.hpp"
#include "ui/qt/list_box.hpp"
#include "ui/qt/qt_text.hpp"

namespace proxylist {
namespace {

Qt::WindowFlags window_flags(const WindowLayout& window) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (window.has_system_menu) {
        flags |= Qt::WindowSystemMenuHint;
    }
    if (window.has_minimise_button) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if (window.has_maximise_button) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    if (window.has_close_button) {
        flags |= Qt::WindowCloseButtonHint;
    }
    if (window.always_on_top) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    return flags;
}

QRect centred_on_primary_screen(int width, int height) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->geometry() : QRect(0, 0, width, height);
    return {area.left() + centred_origin(area.width(), width),
            area.top() + centred_origin(area.height(), height), width, height};
}

}  // namespace

MainWindow::MainWindow(const WindowLayout& window,
                       std::span<const ControlLayout, control_count> controls)
    : QWidget(nullptr, window_flags(window)), escape_(QKeySequence(Qt::Key_Escape), this) {
    setWindowTitle(qstring_from_utf8(window.title));
    target_outer_ = centred_on_primary_screen(window.outer_width, window.outer_height);
    // Until a window manager says otherwise there is no frame: the client area is the whole.
    setFixedSize(target_outer_.size());

    for (const ControlLayout& layout : controls) {
        controls_[static_cast<std::size_t>(layout.id)] = create_control(layout, this);
    }
    const std::vector<ControlId> order = tab_order();
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(control(order[i - 1]), control(order[i]));
    }
    if (!order.empty()) {
        // The first tab stop has the focus when the window is first activated.
        control(order.front())->setFocus(Qt::OtherFocusReason);
    }

    escape_.setEnabled(window.escape_closes);
    connect(&escape_, &QShortcut::activated, this, &QWidget::close);
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::control(ControlId id) const {
    return controls_[static_cast<std::size_t>(id)].get();
}

QLineEdit* MainWindow::line_edit(ControlId id) const {
    return qobject_cast<QLineEdit*>(control(id));
}

ListBox* MainWindow::list_box(ControlId id) const {
    return qobject_cast<ListBox*>(control(id));
}

QComboBox* MainWindow::combo_box(ControlId id) const {
    return qobject_cast<QComboBox*>(control(id));
}

QPushButton* MainWindow::push_button(ControlId id) const {
    return qobject_cast<QPushButton*>(control(id));
}

void MainWindow::show_centred() {
    // move() places a top-level window's frame, not its client area.
    move(target_outer_.topLeft());
    show();
}

bool MainWindow::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
            fit_outer_rectangle();
            break;
        default:
            break;
    }
    return handled;
}

void MainWindow::fit_outer_rectangle() {
    // A window manager adds its frame after the window is shown, which makes the outer size
    // differ from the layout's: shrink the client area by the frame and put the frame back in
    // place. Only a change of frame does this, so the user can still move the window.
    const QWindow* handle = windowHandle();
    if (!isVisible() || handle == nullptr) {
        return;
    }
    const QMargins frame = handle->frameMargins();
    if (frame == fitted_frame_) {
        return;
    }
    fitted_frame_ = frame;
    setFixedSize(target_outer_.width() - frame.left() - frame.right(),
                 target_outer_.height() - frame.top() - frame.bottom());
    move(target_outer_.topLeft());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing is never questioned, not even while an extraction runs.
    event->accept();
    emit closed();
}

}  // namespace proxylist
