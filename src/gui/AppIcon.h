#pragma once
// The program's icon: a remote I/O unit with its terminal row and a green lamp.
#include <QIcon>

namespace q5::gui {

// From the SVG in the resources where Qt can draw SVG, else the same picture painted.
QIcon AppIcon();

}  // namespace q5::gui
