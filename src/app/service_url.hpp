// The query service the extraction asks, fixed when the program is built.
#pragma once

#include "text/text.hpp"

namespace proxylist {

[[nodiscard]] Text service_url();

}  // namespace proxylist
