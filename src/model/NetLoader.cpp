// Loading a whole definition document into the net: the sections in document
// order with the stop-on-failure rule, the root's attributes, binding and the
// start function "GNInit".
#include "model/AbstractTransition.h"

#include "base/SimpleInterface.h"
#include "lang/Function.h"
#include "lang/FunctionLoader.h"
#include "model/DefinitionDocument.h"
#include "model/Place.h"
#include "model/SimpleTransition.h"
#include "model/Token.h"
#include "model/TokenGenerator.h"

bool CAbstractTransition::load(const DefinitionNode& root) {
  log_->write("-->Creating GN Structure.");
  bool ok = true;
  for (const DefinitionNode* section = root.firstChild(); ok && section != nullptr; section = section->nextSibling()) {
    if (section->isElement()) ok = loadSection(*section);
  }
  log_->write("***User defined functions");
  if (!ok) return false;
  if (root.hasAttribute("fundefs") && !loadFunctionFile(*this, root.attribute("fundefs"))) return false;
  if (root.hasAttribute("time") && leadingInteger(root.attribute("time")) < 0) return false;
  if (anyNameRefused() || !bindAll() || anyNameRefused()) return false;
  traceFunction_ = registeredFunction("GNTrace");
  if (!functions_.contains("GNInit")) return true;
  CFunction* start = registeredFunction("GNInit");
  return start != nullptr && start->execute(nullptr, nullptr, 0) != 0;
}

bool CAbstractTransition::loadSection(const DefinitionNode& section) {
  std::string_view name = section.name();
  if (name == "transitions") return loadSectionItems(section, "***GN TRANSITIONS", &CAbstractTransition::loadTransition);
  if (name == "places") return loadSectionItems(section, "***GN PLACES", &CAbstractTransition::loadPlace);
  if (name == "functions") return loadSectionItems(section, "***GN FUNCTIONS", &CAbstractTransition::loadFunctionItem);
  if (name == "tokens") return loadSectionItems(section, "***GN TOKENS", &CAbstractTransition::loadTokenItem);
  return true;
}

// Loads the section's children one by one until one fails; markup (comments,
// processing instructions, entity references) carries nothing of the net.
bool CAbstractTransition::loadSectionItems(const DefinitionNode& section, const char* header,
                                           bool (CAbstractTransition::*loadItem)(const DefinitionNode&)) {
  log_->write(header);
  for (const DefinitionNode* item = section.firstChild(); item != nullptr; item = item->nextSibling()) {
    if (item->kind() != DefinitionNode::Kind::Markup && !(this->*loadItem)(*item)) return false;
  }
  return true;
}

bool CAbstractTransition::loadTransition(const DefinitionNode& item) {
  if (!item.isElement()) return true;
  return adoptTransition(std::make_unique<CSimpleTransition>(*this))->load(item);
}

bool CAbstractTransition::loadPlace(const DefinitionNode& item) {
  if (!item.isElement()) return true;
  return adoptPlace(std::make_unique<CPlace>(*this))->load(item);
}

bool CAbstractTransition::loadFunctionItem(const DefinitionNode& item) { return loadFunctions(*this, item); }

bool CAbstractTransition::loadTokenItem(const DefinitionNode& item) {
  if (!item.isElement()) return true;
  std::string_view name = item.name();
  if (name == "token") return adoptToken(std::make_unique<CToken>(*this))->load(item, true);
  if (name == "generator") return adoptGenerator(std::make_unique<CTokenGenerator>(*this))->load(item);
  return false;
}

bool CAbstractTransition::anyNameRefused() const {
  return transitions_.hasRefused() || places_.hasRefused() || functions_.hasRefused() || tokens_.hasRefused();
}

CFunction* CAbstractTransition::registeredFunction(std::string_view name) {
  if (!functions_.contains(name)) return nullptr;
  return static_cast<CFunction*>(functions_.objectAt(functions_.indexOf(name)));
}
