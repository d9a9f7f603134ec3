// registerBuiltIns: the 49 built-ins in their fixed order, entered into the
// process-wide table once per process, and the net's always-true "ID".
// Thread rule: any number of connection threads may call it at once.
#include "builtins/BuiltinFunctions.h"
#include "lang/Function.h"

#include <iterator>
#include <mutex>
#include <string_view>

namespace {

constexpr int kAnyCount = -1;

struct Registration {
  std::string_view name;
  int arity;
  PrimitiveFunction function;
};

// The registration order is part of the language: lookups find the first entry.
constexpr Registration kBuiltIns[] = {
    {"+", kAnyCount, primitivePlus},           {"-", kAnyCount, primitiveMinus},
    {"*", kAnyCount, primitiveTimes},          {"/", kAnyCount, primitiveDivide},
    {"=", 2, primitiveEqual},                  {"!=", kAnyCount, primitiveNotEqual},
    {"not", kAnyCount, primitiveNot},          {"<", kAnyCount, primitiveLess},
    {"abs", 1, primitiveAbs},                  {">", kAnyCount, primitiveGreater},
    {"MathEval", kAnyCount, primitiveMathEval}, {"set", 1, primitiveSet},
    {"print", kAnyCount, primitivePrint},      {"newline", kAnyCount, primitiveNewline},
    {"get-char", kAnyCount, primitiveGetChar}, {"get-nth", 2, primitiveGetNth},
    {"set-nth", kAnyCount, primitiveSetNth},   {"remainder", 2, primitiveRemainder},
    {"exists", 1, primitiveExists},            {"tokens-list", 1, primitiveTokensList},
    {"get-len", 1, primitiveGetLen},           {"isthere", 1, primitiveIsThere},
    {"wasthere", 1, primitiveWasThere},        {"round", 1, primitiveRound},
    {"timedelta", kAnyCount, primitiveTimedelta}, {"lifetime", 0, primitiveLifetime},
    {"begin", kAnyCount, primitiveBegin},      {"fread", 1, primitiveFread},
    {"sqr", 1, primitiveSqr},                  {"sqrt", 1, primitiveSqrt},
    {"atan", 1, primitiveAtan},                {"<=", 2, primitiveLessEqual},
    {">=", 2, primitiveGreaterEqual},          {"concat", kAnyCount, primitiveConcat},
    {"random", 1, primitiveRandom},            {"pow", 2, primitivePow},
    {"exp", 1, primitiveExp},                  {"log", 1, primitiveLog},
    {"get-named", 2, primitiveGetNamed},       {"set-named", 3, primitiveSetNamed},
    {"del-named", 2, primitiveDelNamed},       {"split", kAnyCount, primitiveSplit},
    {"matlab", kAnyCount, primitiveMatlab},    {"openwindow", kAnyCount, primitiveOpenWindow},
    {"senddata", 2, primitiveSendData},        {"sendscalar", 2, primitiveSendScalar},
    {"message", kAnyCount, primitiveMessage},  {"input", kAnyCount, primitiveInput},
    {"input-str", 1, primitiveInputStr},
};
static_assert(std::size(kBuiltIns) == 49, "the language has 49 built-ins");

void fillTable() {
  for (const Registration& row : kBuiltIns) {
    registerPrimitive(row.arity, row.name, row.function);
  }
}

// "ID" changes nothing and always succeeds.
int identity(CCharacteristic*, const CFunction&, int) { return 1; }

}  // namespace

void registerBuiltIns(CAbstractTransition& net) {
  // Filling the table once keeps it the same for every net, however many
  // conversations set up nets at the same moment.
  static std::once_flag filled;
  std::call_once(filled, fillTable);
  CBuiltInFunction::create(net, "ID", identity, "0");
}
