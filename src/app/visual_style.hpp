// The visual-style component: style 1, 2 or 3 restyles every window of the GUI thread, now and
// later; any other number switches the style off and gives back the system look.
#pragma once

namespace proxylist {

class VisualStyle {
public:
    virtual ~VisualStyle() = default;
    virtual void switch_on(int style) = 0;
};

}  // namespace proxylist
