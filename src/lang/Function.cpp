// Function objects: the frame-carrying base every net-callable function has,
// and the function object backed by a native function (the net's "ID").
#include "lang/Function.h"

#include "base/SimpleInterface.h"
#include "model/AbstractTransition.h"
#include "model/Token.h"

CFunction::CFunction(CAbstractTransition& net, std::string frameText)
    : net_(&net), frameText_(std::move(frameText)) {}

CFunction::~CFunction() = default;

// The frame text is needed only until the frame is built.
bool CFunction::bind() {
  bool built = buildFrame();
  frameText_.clear();
  frameText_.shrink_to_fit();
  return built;
}

CBuiltInFunction::CBuiltInFunction(CAbstractTransition& net, Native native, std::string frameText)
    : CFunction(net, std::move(frameText)), native_(native) {}

CBuiltInFunction* CBuiltInFunction::create(CAbstractTransition& net, const std::string& name, Native native,
                                           std::string frameText) {
  auto function = std::make_unique<CBuiltInFunction>(net, native, std::move(frameText));
  if (net.functionsTable().define(name, function.get()) < 0) return nullptr;
  return static_cast<CBuiltInFunction*>(net.adoptFunction(std::move(function)));
}

// The native function works on the token's default characteristic, so a call
// for no token is a runtime error.
int CBuiltInFunction::execute(CToken* token, CTypedValue* const*, int) {
  if (token == nullptr) {
    net().log().write("GNVCFL runtime error: function object called for no token:");
    net().log().write(net().functionName(this));
    net().markRuntimeError();
    return 0;
  }
  if (native_(token->defaultCharacteristic(), *this, net().time()) != 0) return 1;
  net().markRuntimeError();
  return 0;
}
