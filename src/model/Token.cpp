// CToken: reading a token element, the generator's copy, binding the host
// place, the characteristics map and the token report.
#include "model/Token.h"

#include "base/SimpleInterface.h"
#include "model/AbstractTransition.h"
#include "model/DefinitionDocument.h"
#include "model/NameTable.h"
#include "model/Place.h"

#include <cctype>
#include <charconv>

namespace {

// The leading decimal floating-point number of a text, 0 when there is none
// (as the C library reads it, but independent of the process's locale).
// "nan" and "inf" are words, not decimal numbers: they read as 0 too.
double leadingNumber(std::string_view text) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(*begin))) ++begin;
  if (begin < end && *begin == '+' && begin + 1 < end && begin[1] != '-') ++begin;
  const char* digits = begin < end && *begin == '-' ? begin + 1 : begin;
  if (digits == end || !(std::isdigit(static_cast<unsigned char>(*digits)) || *digits == '.')) return 0.0;
  double number = 0.0;
  auto [stop, error] = std::from_chars(begin, end, number);
  return error == std::errc() ? number : 0.0;
}

bool isValueType(const std::string& type) { return type == "double" || type == "string" || type == "vector"; }

// The initial value of a characteristic from its type and text; null when it
// would pass the limits of a value. REQUIRES: isValueType(type).
ValuePtr valueFromText(const std::string& type, std::string_view text) {
  if (type == "double") return std::make_unique<CDoubleValue>(leadingNumber(text));
  if (type == "vector") return CVectorValue::fromText(text);
  if (kValueCost + text.size() > kMaxValueSize) return nullptr;
  return std::make_unique<CStringValue>(std::string(text));
}

}  // namespace

CToken::CToken(CAbstractTransition& net) : net_(&net) {}

CToken::CToken(const CToken& templateToken)
    : CGNObject(),
      host_(templateToken.host_),
      net_(templateToken.net_),
      entering_(templateToken.entering_),
      hostIndex_(templateToken.hostIndex_) {
  setPriority(templateToken.priority());
  for (const auto& [name, characteristic] : templateToken.characteristics_) {
    auto copy = std::make_unique<CCharacteristic>(characteristic->history(), characteristic->value().clone());
    characteristics_.emplace(name, std::move(copy));
  }
  chooseDefaultCharacteristic();
}

CToken::~CToken() {
  if (lifeline_) lifeline_->cut();
}

bool CToken::load(const DefinitionNode& element, bool registering) {
  std::string_view id = element.attribute("id");
  if (registering && net_->tokensTable().define(id, this) < 0) return false;
  CSimpleInterface& log = net_->log();
  log.write("-------- Token------");
  log.write(id);
  log.write(element.attribute("host"));
  log.write(element.attribute("priority"));
  log.write(element.attribute("entering"));
  log.write("-----------------------");
  for (const DefinitionNode* child = element.firstChild(); child != nullptr; child = child->nextSibling()) {
    if (child->isElement() && !loadCharacteristic(*child)) return false;
  }
  chooseDefaultCharacteristic();
  hostIndex_ = net_->placesTable().indexOf(element.attribute("host"));
  setPriority(leadingInteger(element.attribute("priority")));
  entering_ = leadingInteger(element.attribute("entering"));
  return hostIndex_ >= 0;
}

bool CToken::loadCharacteristic(const DefinitionNode& child) {
  std::string name(child.attribute("name"));
  std::string type(child.attribute("type"));
  int history = leadingInteger(child.attribute("history"));
  CSimpleInterface& log = net_->log();
  if (history < 0 || history > CCharacteristic::kMaxHistory) {
    log.write("characteristic history outside 0 to " + std::to_string(CCharacteristic::kMaxHistory) + " refused:");
    log.write(name);
    return false;
  }
  if (!isValueType(type)) {
    log.write("characteristic type other than double, string or vector refused:");
    log.write(name);
    return false;
  }
  ValuePtr prototype = valueFromText(type, child.firstChildText());
  if (!prototype) {
    log.write(valueLimitMessage("characteristic " + name));
    return false;
  }
  if (!CCharacteristic::fitsHistory(history, *prototype)) {
    log.write("characteristic whose " + std::to_string(history + 2) + " copies of its value would pass a size of " +
              std::to_string(CCharacteristic::kMaxLoadedSize) + " refused:");
    log.write(name);
    return false;
  }
  putCharacteristic(name, std::make_unique<CCharacteristic>(history, std::move(prototype)));
  return true;
}

CPlace* CToken::bind() {
  CGNObject* object = net_->placesTable().objectAt(hostIndex_);
  host_ = object != nullptr && object->kind() == kKindPlace ? static_cast<CPlace*>(object) : nullptr;
  if (host_ != nullptr) net_->queueForEntering(this);
  return host_;
}

Lifeline* CToken::lifeline() {
  if (!lifeline_) {
    lifeline_ = Lifeline::make(*this);
    if (host_ == nullptr) nameLifeline();  // made after the token left: name it now
  }
  return lifeline_.get();
}

// The name is taken as the token leaves: its table entry may be given to
// another token before the step ends.
void CToken::leave() {
  nameLifeline();
  host_ = nullptr;
}

void CToken::nameLifeline() {
  if (lifeline_) lifeline_->setName(net_->tokenName(this));
}

void CToken::print(std::ostream& out) const {
  out << "*token infomation\n"
      << "----------------\n"
      << "name:" << net_->tokenName(this) << "\n"
      << "characteristics \n"
      << "----------------\n";
  for (const auto& [name, characteristic] : characteristics_) {
    out << name << ": ";
    characteristic->value().writeText(out);
    out << "\n";
  }
}

CCharacteristic* CToken::characteristic(const std::string& name) const {
  auto found = characteristics_.find(name);
  return found == characteristics_.end() ? nullptr : found->second.get();
}

void CToken::putCharacteristic(const std::string& name, std::unique_ptr<CCharacteristic> c) {
  std::unique_ptr<CCharacteristic>& slot = characteristics_[name];
  if (slot && slot.get() == defaultCharacteristic_) defaultCharacteristic_ = c.get();
  slot = std::move(c);
}

bool CToken::removeCharacteristic(const std::string& name) {
  auto found = characteristics_.find(name);
  if (found == characteristics_.end()) return false;
  if (found->second.get() == defaultCharacteristic_) removedDefault_ = std::move(found->second);
  characteristics_.erase(found);
  return true;
}

void CToken::chooseDefaultCharacteristic() {
  auto named = characteristics_.find("Default");
  if (named != characteristics_.end()) {
    defaultCharacteristic_ = named->second.get();
  } else {
    defaultCharacteristic_ = characteristics_.empty() ? nullptr : characteristics_.begin()->second.get();
  }
}
