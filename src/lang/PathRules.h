// Which file names a definition may open: only names inside the working
// directory (no absolute names, no ".." components), so a definition sent by
// a remote peer cannot read or write files elsewhere.
#pragma once

#include <string_view>

// True when `path` is relative and has no ".." component.
bool staysInWorkingDirectory(std::string_view path);
