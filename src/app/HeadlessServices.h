// The seam through which the program without a screen gets its user-interface
// services (CHeadlessServices, HeadlessPlotServices.h); free of Qt so that the
// program's own code needs none of it. Thread rule: main thread only.
#pragma once

// Makes the process able to draw without a screen and installs the headless
// services for it; call once, from the main thread, before serving.
void installHeadlessServices();
// Stops refreshing and writes every changed plot (at exit).
void writeHeadlessPlots();
