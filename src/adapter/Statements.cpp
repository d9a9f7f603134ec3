// Statement and path texts of Calvix.
#include "adapter/Statements.h"

namespace {

// "<letter>0,<letter>1,..." for `count` variables (at least the first one).
std::string variableList(char letter, int count) {
  std::string list = variableName(letter, 0);
  for (int k = 1; k < count; ++k) list.append(",").append(variableName(letter, k));
  return list;
}

// Texts here are built by appending: `"[" + temporary` makes GCC 12 warn
// (-Wrestrict, a false alarm inside std::string) at -O3.
std::string outputsPart(int outputs) {
  if (outputs == 1) return "Y0 = ";
  std::string part = "[";
  part.append(variableList('Y', outputs)).append("] = ");
  return part;
}

}  // namespace

std::string variableName(char letter, int index) { return letter + std::to_string(index); }

std::string cdStatement(std::string_view folder) {
  std::string statement = "cd('";
  for (char c : folder) {
    statement += c;
    if (c == '\'') statement += '\'';
  }
  return statement + "');";
}

std::optional<std::string> mFilePath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  bool hasSeparator = !folder.empty() && (folder.back() == '/' || folder.back() == '\\');
  if (!hasSeparator) path += '/';
  path.append(name).append(".m");
  if (path.size() > kMaxMFilePath) return std::nullopt;
  return path;
}

std::string argumentStatement(int index, std::string_view expression) {
  std::string statement = variableName('X', index) + " = ";
  statement.append(expression);
  return statement;
}

std::string callStatement(std::string_view name, int outputs, int arguments) {
  std::string call = outputsPart(outputs);
  call.append(name).append("(");
  if (arguments > 0) call += variableList('X', arguments);
  return call + ");";
}

std::string mat2strStatement(int index) {
  std::string variable = variableName('Y', index);
  return variable + " = mat2str(" + variable + ");";
}
