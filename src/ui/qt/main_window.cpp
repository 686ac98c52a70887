#include "ui/qt/main_window.hpp"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "ui/qt/control_factory.hpp"
#include "ui/qt/list_box.hpp"
#include "ui/qt/qt_text.hpp"
#include "ui/qt/window_manager_x11.hpp"

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
    : QWidget(nullptr, window_flags(window)),
      escape_(QKeySequence(Qt::Key_Escape), this),
      resizable_(window.resizable),
      movable_(window.movable) {
    setWindowTitle(qstring_from_utf8(window.title));
    target_outer_ = centred_on_primary_screen(window.outer_width, window.outer_height);
    // Until a window manager says otherwise there is no frame: the client area is the whole.
    set_client_size(target_outer_.size());

    for (const ControlLayout& layout : controls) {
        std::unique_ptr<QWidget> widget = create_control(layout, this);
        // Buttons and labels go by their text, which a button changes while it is busy.
        if (layout.label || !layout.own_name.empty()) {
            widget->setAccessibleName(qstring_from_utf8(accessible_name(layout, controls)));
        }
        controls_[static_cast<std::size_t>(layout.id)] = std::move(widget);
    }
    // A label names the control behind it, so that the control is announced as labelled by it.
    for (const ControlLayout& layout : controls) {
        if (!layout.label) {
            continue;
        }
        if (auto* label = qobject_cast<QLabel*>(control(*layout.label))) {
            label->setBuddy(control(layout.id));
        }
    }
    const std::vector<ControlId> order = tab_order(controls);
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

void MainWindow::set_client_size(QSize size) {
    if (resizable_) {
        resize(size);
    } else {
        setFixedSize(size);
    }
}

bool MainWindow::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    switch (event->type()) {
        case QEvent::WinIdChange:
            if (windowHandle() != nullptr) {
                withhold_window_functions(*windowHandle(), movable_, resizable_);
            }
            break;
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

bool MainWindow::nativeEvent(const QByteArray& event_type, void* message, qintptr* result) {
    // A window manager's frame arrives with events that Qt turns into no event of the widget's
    // when the client area keeps its place on the screen.
    if (may_bring_a_new_frame(event_type, message)) {
        fit_outer_rectangle_soon();
    }
    return QWidget::nativeEvent(event_type, message, result);
}

void MainWindow::fit_outer_rectangle_soon() {
    if (fit_pending_) {
        return;
    }
    fit_pending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            fit_pending_ = false;
            fit_outer_rectangle();
        },
        Qt::QueuedConnection);
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
    const QRect client = target_outer_.marginsRemoved(frame);
    // While the window manager is still building the frame, Qt may work out a frame that
    // cannot be: it is never negative and always leaves a client area.
    const bool possible = frame.left() >= 0 && frame.top() >= 0 && frame.right() >= 0 &&
                          frame.bottom() >= 0 && !client.isEmpty();
    if (frame == fitted_frame_ || !possible) {
        return;
    }
    fitted_frame_ = frame;
    set_client_size(client.size());
    // The client area's place, not move(): the widget may not know the new frame yet, and would
    // then take the frame's place for the client area's.
    setGeometry(client);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Enter that no control takes for itself clicks the default button, when there is one.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter) {
        for (const std::unique_ptr<QWidget>& widget : controls_) {
            auto* button = qobject_cast<QPushButton*>(widget.get());
            if (button != nullptr && button->isDefault() && button->isEnabled() &&
                button->isVisible()) {
                button->click();
                event->accept();
                return;
            }
        }
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing is never questioned, not even while an extraction runs.
    event->accept();
    emit closed();
}

}  // namespace proxylist
