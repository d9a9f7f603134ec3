// The program icon: a place and a transition joined by an arc, drawn in code.
#pragma once

#include <QIcon>

// The icon of the main dialog, the about box and every window of the program.
QIcon programIcon();
