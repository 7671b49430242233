#pragma once

#include <QColor>
#include <QFont>

namespace krn310 {

// The classic Windows look of the window's design, for the application:
// the toolkit's Windows style with its own palette and the window's font.
void ApplyWindowsLook();

// Fonts and colours of the window's design, mapped to what a Debian machine
// has: Liberation Sans stands in for MS Sans Serif and Arial (it is
// metric-compatible with Arial), Liberation Mono for Courier New.
QFont WindowFont();
QFont ViewFont();
QFont TreeFont();
QFont GridFont();

// The classic light inactive-caption colour, behind the tree and the grid.
QColor InactiveCaptionColor();

} // namespace krn310
