// CFunction: a function the net can call (predicate, characteristic function,
// merge rule, generator predicate, start and trace functions), with its frame
// of net objects and files reached as #0, #1, ...; and CBuiltInFunction, a
// function object backed by a native function (the net's "ID").
// Thread rule: used by the thread that steps its net; not reentrant.
#pragma once

#include "base/Holder.h"
#include "model/GNObject.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CAbstractTransition;
class CCharacteristic;
class CToken;
class CTypedValue;

class CFunction : public CGNObject {
 public:
  // REQUIRES: the net outlives the function. Keeps a copy of the frame text.
  CFunction(CAbstractTransition& net, std::string frameText);
  ~CFunction() override;
  CFunction(const CFunction&) = delete;
  CFunction& operator=(const CFunction&) = delete;

  // Runs the function for `token` (may be null) with borrowed arguments.
  // Nonzero means true; a runtime error clears the net's runtimeOk and gives 0.
  virtual int execute(CToken* token, CTypedValue* const* arguments, int argumentCount) = 0;
  // Builds the frame from the frame text (and binds the body, for user
  // functions); false after log messages.
  virtual bool bind();
  virtual bool isExpression() const { return false; }

  CAbstractTransition& net() const { return *net_; }
  int frameSize() const { return static_cast<int>(frame_.size()); }
  // Entry n of the frame (borrowed: owned by the net, or by this function for files).
  CBaseObject* frameEntry(int n) const { return frame_[static_cast<std::size_t>(n)].get(); }

 protected:
  // Fills the frame from the frame text ("n;keyword.identifier.property;...");
  // false after log messages. An empty text gives an empty frame.
  bool buildFrame();
  // User functions learn their frame text while parsing.
  void setFrameText(std::string frameText) { frameText_ = std::move(frameText); }

 private:
  bool addFrameEntry(std::string_view& text);
  bool addPlaceEntry(const std::string& identifier, const std::string& property);
  bool addTransitionEntry(const std::string& identifier, const std::string& property);
  bool addTokenEntry(const std::string& identifier, const std::string& property);
  bool addFileEntry(const std::string& identifier, const std::string& property);
  void addBorrowedEntry(CBaseObject* object) { frame_.emplace_back().borrow(object); }
  bool frameError(std::string_view message, std::string_view word = {});

  CAbstractTransition* net_;
  std::string frameText_;
  // Net objects are borrowed from the net; file handles the frame opened are owned.
  std::vector<Holder<CBaseObject>> frame_;
};

class CBuiltInFunction final : public CFunction {
 public:
  // (token's default characteristic, frame, net time) -> nonzero for success.
  using Native = int (*)(CCharacteristic* characteristic, const CFunction& function, int time);

  // Registers itself under `name` in the net's functions table; the net takes
  // ownership through adoptFunction. Returns the registered object (borrowed),
  // or null when the table refuses the name (logged there).
  static CBuiltInFunction* create(CAbstractTransition& net, const std::string& name, Native native,
                                  std::string frameText);
  CBuiltInFunction(CAbstractTransition& net, Native native, std::string frameText);

  // Needs a token; without one it is a runtime error.
  int execute(CToken* token, CTypedValue* const* arguments, int argumentCount) override;

 private:
  Native native_;
};
