// The font of the desktop program's dialogs: their layouts are measured in
// the units of an 8-point sans font.
#pragma once

#include <QFont>
#include <QRect>

// Text in the dialogs is set this many points high.
constexpr int kDialogFontPoints = 8;

// Liberation Sans (DejaVu Sans where it is missing) at kDialogFontPoints.
QFont dialogFont();

// A rectangle given in dialog units of that font: 1.5 pixels across and
// 1.625 pixels down.
QRect dialogUnits(int x, int y, int width, int height);
