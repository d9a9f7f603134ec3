// Loading GNVCFL definitions into a net, from the definition document's
// functions section or from a definitions file in the working directory.
#include "lang/FunctionLoader.h"

#include "base/SimpleInterface.h"
#include "lang/Expression.h"
#include "lang/PathRules.h"
#include "lang/Reader.h"
#include "model/AbstractTransition.h"
#include "model/DefinitionDocument.h"

#include <fstream>
#include <iterator>

bool loadFunctionSource(CAbstractTransition& net, std::string text) {
  CSourceStream in(std::move(text));
  while (in.good()) {
    auto function = std::make_unique<CExpression>(net);
    function->parseDefinition(in);
    if (function->isDefined()) net.adoptFunction(std::move(function));
    skipWhitespace(in);
  }
  return true;
}

bool loadFunctionText(CAbstractTransition& net, std::istream& in) {
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return loadFunctionSource(net, std::move(text));
}

// An empty file, or one of only whitespace and comments, loads nothing and succeeds.
bool loadFunctionFile(CAbstractTransition& net, std::string_view name) {
  std::string path = net.filePrefix() + "_" + std::string(name);
  if (!staysInWorkingDirectory(path)) {
    net.log().write("Function file refused outside the working directory:");
    net.log().write(name);
    return false;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (file.bad()) return false;
  return loadFunctionSource(net, std::move(text));
}

bool loadFunctions(CAbstractTransition& net, const DefinitionNode& node) {
  if (node.kind() == DefinitionNode::Kind::Text) return loadFunctionSource(net, std::string(node.value()));
  if (!node.isElement()) return true;
  if (!node.hasAttribute("fundefs")) {
    net.log().write("Function library element without a fundefs attribute refused.");
    return false;
  }
  return loadFunctionFile(net, node.attribute("fundefs"));
}
