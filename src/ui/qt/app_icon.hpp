// The application's icon: drawn at start-up, so the program carries no image files.
#pragma once

#include <QIcon>

namespace proxylist {

[[nodiscard]] QIcon application_icon();

}  // namespace proxylist
