// The GUI application object of a program without a screen, which drawing
// text needs: the offscreen one, made once and kept until the process ends.
// Thread rule: the main thread.
#pragma once

// Makes the application, named `programName` (a literal: it is kept), unless
// the process has one. Qt's start-up remarks (a missing session, say) are kept
// off standard error, which carries the program's own reports.
void startOffscreenApplication(const char* programName);
