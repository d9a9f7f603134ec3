// The font of the desktop program's dialogs: their layouts are measured in
// the units of an 8-point sans font.
#pragma once

#include <QFont>

// Text in the dialogs is set this many points high.
constexpr int kDialogFontPoints = 8;

// Liberation Sans (DejaVu Sans where it is missing) at kDialogFontPoints.
QFont dialogFont();
