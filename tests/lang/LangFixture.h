// A net with the built-ins registered, for running GNVCFL source end to end:
// load definitions, bind them, call or execute a function, read the log.
#pragma once

#include "RecordingLog.h"

#include "builtins/BuiltinFunctions.h"
#include "lang/Expression.h"
#include "lang/FunctionLoader.h"
#include "model/AbstractTransition.h"
#include "model/Characteristic.h"
#include "model/Place.h"
#include "model/Token.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

class LangFixture : public testing::Test {
 protected:
  LangFixture() {
    net_.prepare(&log_, "", "", nullptr);
    registerBuiltIns(net_);
  }

  // Loads the source and binds every defined function, as the net's binding
  // pass does; false when some function failed to bind.
  bool load(const std::string& source) {
    loadFunctionSource(net_, source);
    bool bound = true;
    NameTable& table = net_.functionsTable();
    for (int i = 0; i < table.count(); ++i) {
      if (CGNObject* object = table.objectAt(i)) bound = static_cast<CFunction*>(object)->bind() && bound;
    }
    return bound;
  }

  bool isDefined(const std::string& name) {
    NameTable& table = net_.functionsTable();
    return table.contains(name) && table.stateAt(table.indexOf(name)) == NameTable::State::Defined;
  }

  CExpression* function(const std::string& name) {
    NameTable& table = net_.functionsTable();
    return dynamic_cast<CExpression*>(table.objectAt(table.indexOf(name)));
  }

  // Calls a user function: "error" when the call failed, "none" for no value,
  // else the value's literal form.
  std::string call(const std::string& name, std::vector<CTypedValue*> arguments = {}, CToken* token = nullptr) {
    ValuePtr out = callForValue(name, arguments, token);
    if (failed_) return "error";
    return out ? literal(*out) : "none";
  }

  ValuePtr callForValue(const std::string& name, std::vector<CTypedValue*> arguments = {}, CToken* token = nullptr) {
    CExpression* callee = function(name);
    EXPECT_NE(callee, nullptr) << name << " is not defined";
    CDoubleValue time(net_.time());
    CallContext context{&time, token, 0};
    ValueSlot out;
    failed_ = callee == nullptr || !callee->call(out, arguments.data(), static_cast<int>(arguments.size()), context);
    return out.release();
  }

  // Defines probe with the given locals and body, then calls it.
  std::string eval(const std::string& body, const std::string& locals = "a b c i t x") {
    if (!load("(defun probe \"0\" () (" + locals + ") " + body + ")")) return "bind failed";
    return call("probe");
  }

  static std::string literal(const CTypedValue& value) {
    std::ostringstream out;
    value.writeLiteral(out);
    return out.str();
  }

  int count(const std::string& message) const {
    std::vector<std::string> all = log_.messages();
    return static_cast<int>(std::count(all.begin(), all.end(), message));
  }

  CPlace* place(const std::string& name) {
    CPlace* made = net_.adoptPlace(std::make_unique<CPlace>(net_));
    net_.placesTable().define(name, made);
    return made;
  }

  // A token registered under `name` with a number characteristic "Default".
  CToken* token(const std::string& name, double value) {
    auto made = std::make_unique<CToken>(net_);
    made->putCharacteristic("Default", std::make_unique<CCharacteristic>(0, std::make_unique<CDoubleValue>(value)));
    made->chooseDefaultCharacteristic();
    CToken* token = net_.adoptToken(std::move(made));
    net_.tokensTable().define(name, token);
    return token;
  }

  RecordingLog log_;
  CAbstractTransition net_;
  bool failed_ = false;
};
