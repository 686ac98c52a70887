// How a screen reader sees the main window beyond Qt's defaults: as a window, named by its
// title, rather than as a pane.
//
// The drop-down list keeps Qt's own accessible combo box. On Linux that gives the current item
// as the combo box's name and its label through the labelled-by relation, which is how Orca
// finds both: it reads the label, and takes what the box shows from the name (Qt 6.4 offers no
// other way to hand over the current item). So the accessible name set from the layout reaches
// a Linux screen reader through the label, not through the name.
#pragma once

namespace proxylist {

// Once, after the application exists and before any window is shown.
void install_accessibility();

}  // namespace proxylist
