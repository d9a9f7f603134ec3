// File names confined to the working directory.
#include "lang/PathRules.h"

bool staysInWorkingDirectory(std::string_view path) {
  if (path.empty() || path.front() == '/') return false;
  while (!path.empty()) {
    std::size_t slash = path.find('/');
    std::string_view component = path.substr(0, slash);
    if (component == "..") return false;
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return true;
}
