// Prints how fast GNVCFL runs a counting loop (while, let, +, <) and naive
// recursive fib(27), next to Lua 5.4 ("lua5.4") running the same programs in
// the same run: nanoseconds per iteration or call, and the ratio to Lua.
#include "base/SimpleInterface.h"
#include "builtins/BuiltinFunctions.h"
#include "lang/Expression.h"
#include "lang/FunctionLoader.h"
#include "model/AbstractTransition.h"

#include <ctime>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

constexpr int kLoopCount = 10000000;
constexpr int kFibArgument = 27;
constexpr double kFibCalls = 635621;  // calls made by naive fib(27): 2 * fib(28) - 1

class PrintingLog final : public CSimpleInterface {
 public:
  void write(std::string_view message) override { std::cerr << message << '\n'; }
};

constexpr const char* kSource =
    "(defun sum \"0\" () (i s) (let i 1) (let s 0)"
    "  (while (< i 10000001) (let s (+ s i)) (let i (+ i 1))) s)"
    "(defun fib \"0\" (n) () (if (< n 2) n (+ (fib (- n 1)) (fib (- n 2)))))";

// Lua times itself, so its start-up is not counted.
constexpr const char* kLuaScript =
    "local t = os.clock(); local s, i = 0, 1;"
    "while i < 10000001 do s = s + i; i = i + 1 end;"
    "local loop = os.clock() - t;"
    "local function fib(n) if n < 2 then return n end return fib(n - 1) + fib(n - 2) end;"
    "t = os.clock(); local f = fib(27); local calls = os.clock() - t;"
    "print(string.format('%.6f %.6f %d %d', loop, calls, s, f))";

// Processor time, as Lua's os.clock measures it: other work on the machine
// then slows neither side's figures.
double processorSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Seconds taken by a call of `name`; its value is printed beside.
double timeCall(CAbstractTransition& net, const char* name, CTypedValue* argument) {
  CExpression* function = static_cast<CExpression*>(net.functionsTable().objectAt(net.functionsTable().indexOf(name)));
  CDoubleValue time(0);
  CallContext context{&time, nullptr, 0};
  ValuePtr result;
  double start = processorSeconds();
  bool ok = function->call(result, &argument, argument != nullptr ? 1 : 0, context);
  double elapsed = processorSeconds() - start;
  std::printf("GNVCFL %-4s = %s%s\n", name, result ? textOf(*result).c_str() : "(none)", ok ? "" : " FAILED");
  return elapsed;
}

bool runLua(double* loopSeconds, double* fibSeconds) {
  std::string command = std::string("lua5.4 -e \"") + kLuaScript + "\"";
  std::FILE* lua = ::popen(command.c_str(), "r");
  if (lua == nullptr) return false;
  long long sum = 0, fib = 0;
  int read = std::fscanf(lua, "%lf %lf %lld %lld", loopSeconds, fibSeconds, &sum, &fib);
  int status = ::pclose(lua);
  std::printf("Lua    sum  = %lld\nLua    fib  = %lld\n", sum, fib);
  return read == 4 && status == 0;
}

void printRow(const char* what, double gnvcflSeconds, double luaSeconds, double count) {
  double gnvcfl = gnvcflSeconds * 1e9 / count;
  double lua = luaSeconds * 1e9 / count;
  std::printf("%-28s GNVCFL %7.1f ns   Lua %7.1f ns   ratio %5.2f\n", what, gnvcfl, lua, gnvcfl / lua);
}

}  // namespace

int main() {
  PrintingLog log;
  CAbstractTransition net;
  net.prepare(&log, "", "", nullptr);
  registerBuiltIns(net);
  if (!loadFunctionSource(net, kSource) || !net.bindAll()) return 1;
  double loop = timeCall(net, "sum", nullptr);
  CDoubleValue fibArgument(kFibArgument);
  double fib = timeCall(net, "fib", &fibArgument);
  double luaLoop = 0, luaFib = 0;
  if (!runLua(&luaLoop, &luaFib)) {
    std::printf("lua5.4 did not run; GNVCFL only: loop %.1f ns/iteration, fib %.1f ns/call\n",
                loop * 1e9 / kLoopCount, fib * 1e9 / kFibCalls);
    return 0;
  }
  printRow("sum 1..10,000,000 per iter", loop, luaLoop, kLoopCount);
  printRow("fib(27) per call", fib, luaFib, kFibCalls);
  return 0;
}
