// Colours and alignment as the layout gives them, for the widgets of the Qt front-end.
#pragma once

#include <QColor>
#include <QWidget>

// moc cannot read the control names, which are not ASCII; it needs none of these types.
#ifndef Q_MOC_RUN
#include "app/layout.hpp"
#endif

namespace proxylist {

[[nodiscard]] QColor qcolor(Colour colour);

[[nodiscard]] Qt::Alignment qt_alignment(TextAlignment alignment);

// The box's own text and background colours, whatever the system's. A box that hides its
// selection without the focus paints the selection in those colours while it lacks the focus
// (Qt paints an unfocused text area, and any box of an inactive window, in the inactive group).
void set_box_colours(QWidget& box, const EditBoxSettings& settings);

}  // namespace proxylist
