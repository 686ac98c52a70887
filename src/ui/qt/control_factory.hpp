// Makes the widget for one row of the layout table, with that row's settings.
#pragma once

#include <QWidget>
#include <memory>

#include "app/layout.hpp"

namespace proxylist {

[[nodiscard]] std::unique_ptr<QWidget> create_control(const ControlLayout& layout, QWidget* parent);

}  // namespace proxylist
