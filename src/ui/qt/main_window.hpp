// The main window, built from the layout table: a fixed-size tool window with the fourteen
// controls in creation order, Tab through the tab stops, Esc to close.
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
    void closeEvent(QCloseEvent* event) override;

  private:
    void fit_outer_rectangle();

    std::array<std::unique_ptr<QWidget>, control_count> controls_;
    QShortcut escape_;
    QRect target_outer_;
    // The frame the window's size was last fitted to; none until a window manager adds one.
    QMargins fitted_frame_;
};

}  // namespace proxylist
