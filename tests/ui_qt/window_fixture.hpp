// The main window as the program builds it, for the tests.
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

// moc reads the test programs too, and cannot read the control names, which are not ASCII.
#ifndef Q_MOC_RUN
#include "app/control_id.hpp"
#include "text/text.hpp"
#include "ui/qt/main_window.hpp"
#endif

namespace proxylist::testing {

// The font and layout the program uses; before any window is made.
void prepare_application();

[[nodiscard]] std::unique_ptr<MainWindow> make_main_window();

// Shows the window and waits until it is active; false when it never becomes so.
[[nodiscard]] bool show_and_activate(MainWindow& window);

[[nodiscard]] QString name_of(ControlId id);

// The bytes of a text, for QCOMPARE.
[[nodiscard]] QByteArray bytes(const Text& text);
// Code page 936 bytes of UTF-8 written in the test.
[[nodiscard]] Text cp936(const char* utf8);

}  // namespace proxylist::testing
