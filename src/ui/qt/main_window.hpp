// The main window, built from the layout table: a tool window of the layout's outer size, frame
// included, with the fourteen controls in creation order, each named for a screen reader; Tab
// through the tab stops, Esc to close, Enter to a default button when the table has one.
#pragma once

#include <QMargins>
#include <QRect>
#include <QShortcut>
#include <QWidget>
#include <array>
#include <memory>
#include <span>

// moc cannot read the control names, which are not ASCII; it needs none of these types.
#ifndef Q_MOC_RUN
#include "app/layout.hpp"
#endif

class QComboBox;
class QLineEdit;
class QPushButton;

namespace proxylist {

class ListBox;

class MainWindow final : public QWidget {
    Q_OBJECT

  public:
    // Creates the window hidden, with all its controls.
    MainWindow(const WindowLayout& window, std::span<const ControlLayout, control_count> controls);
    ~MainWindow() override;

    [[nodiscard]] QWidget* control(ControlId id) const;
    // The control as its kind, or null when it is of another kind.
    [[nodiscard]] QLineEdit* line_edit(ControlId id) const;
    [[nodiscard]] ListBox* list_box(ControlId id) const;
    [[nodiscard]] QComboBox* combo_box(ControlId id) const;
    [[nodiscard]] QPushButton* push_button(ControlId id) const;

    // The outer rectangle the window is given: its layout size, centred on the primary screen.
    [[nodiscard]] QRect target_outer_rectangle() const noexcept { return target_outer_; }

    // Places the window centred on the primary screen and shows it.
    void show_centred();

  signals:
    // The window has been closed; it will not be shown again.
    void closed();

  protected:
    bool event(QEvent* event) override;
    bool nativeEvent(const QByteArray& event_type, void* message, qintptr* result) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void set_client_size(QSize size);
    // Once per turn of the event loop at most, after Qt has taken in what the window system said.
    void fit_outer_rectangle_soon();
    void fit_outer_rectangle();

    std::array<std::unique_ptr<QWidget>, control_count> controls_;
    QShortcut escape_;
    QRect target_outer_;
    bool resizable_;
    bool movable_;
    // The frame the window's size was last fitted to; none until a window manager adds one.
    QMargins fitted_frame_;
    bool fit_pending_ = false;
};

}  // namespace proxylist
