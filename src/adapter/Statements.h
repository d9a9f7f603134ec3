// The texts Calvix builds: the statements it sends to the engine, the names
// of its workspace variables and the m-file path.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The m-file path has at most this many characters; a longer one is refused.
constexpr std::size_t kMaxMFilePath = 259;

// The letter followed by the index in decimal: ('X', 0) gives "X0".
std::string variableName(char letter, int index);
// "cd('<folder>');", a quote inside the folder doubled so that the statement
// still names the folder.
std::string cdStatement(std::string_view folder);
// folder + "/" + name + ".m", without the "/" when the folder already ends in
// "/" or "\"; nothing when the result would be longer than kMaxMFilePath.
std::optional<std::string> mFilePath(std::string_view folder, std::string_view name);
// "X<index> = <expression>".
std::string argumentStatement(int index, std::string_view expression);
// The call: "Y0 = " for one output, else "[Y0,Y1,...] = " ("[Y0] = " for none),
// then name(X0,X1,...);  with `arguments` inputs.
std::string callStatement(std::string_view name, int outputs, int arguments);
// "Y<index> = mat2str(Y<index>);".
std::string mat2strStatement(int index);
