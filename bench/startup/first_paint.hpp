// Both probes end the same way: when the window's first paint is done, print the moment (the
// system-wide monotonic clock, in nanoseconds) and leave at once.
#pragma once

class QWidget;

namespace proxylist::bench {

void report_first_paint_and_leave(QWidget& window);

}  // namespace proxylist::bench
