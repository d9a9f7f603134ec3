// How GNVCFL definitions reach a net: source text from the definition
// document, or a definitions file in the working directory.
#pragma once

#include <istream>
#include <string>
#include <string_view>

class CAbstractTransition;
class DefinitionNode;

// Reads definitions until the end of `in`; a definition with a syntax error is
// dropped (its messages are in the log) and reading goes on. Always true.
bool loadFunctionText(CAbstractTransition& net, std::istream& in);
// The same over source text already in memory.
bool loadFunctionSource(CAbstractTransition& net, std::string text);
// Reads the file named filePrefix + "_" + name from the working directory,
// without newline translation. False when it cannot be opened (or the name
// would leave the working directory).
bool loadFunctionFile(CAbstractTransition& net, std::string_view name);
// A text is source text; an element names a file in its "fundefs" attribute;
// markup loads nothing.
bool loadFunctions(CAbstractTransition& net, const DefinitionNode& node);
