// Closing a program's window from outside, as a window manager's close
// button does, on an X server that has no window manager (Xvfb).
#pragma once

#include <chrono>
#include <string>

// Finds a window titled `title` on `display` (waiting up to `limit` for it to
// appear) and sends it WM_DELETE_WINDOW; false when none appeared.
bool closeWindowTitled(const std::string& display, const std::string& title, std::chrono::milliseconds limit);
