// The application's icon, drawn from its shapes: the program carries no image files.
#pragma once

#include <QIcon>
#include <QImage>

namespace proxylist {

// The icon at one size, on a transparent background.
[[nodiscard]] QImage application_icon_image(int size);

// Every size of icon_sizes.
[[nodiscard]] QIcon application_icon();

}  // namespace proxylist
