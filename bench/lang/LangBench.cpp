// Prints how fast GNVCFL runs five programs, next to Lua 5.4 ("lua5.4")
// running their twins in the same run: nanoseconds per unit of work and the
// ratio to Lua. Both sides run kRounds times, taking turns, and each figure is
// the side's fastest round, so that a burst of other work on the machine
// slows neither. The programs: a counting loop (while, let, +, <); naive
// recursive fib(27); a vector built in a loop (with the concat call nets make)
// and read back with get-nth; strings built with +; and a predicate reading
// the current token's history and a named characteristic, executed by a
// loaded net as the step engine executes it.
// `lang_bench NAME` runs only the GNVCFL program NAME (sum, fib, vector,
// string, predicate), without Lua, so that `valgrind --tool=callgrind`
// counts one program alone.
#include "base/SimpleInterface.h"
#include "builtins/BuiltinFunctions.h"
#include "lang/Expression.h"
#include "lang/FunctionLoader.h"
#include "model/AbstractTransition.h"
#include "model/DefinitionParser.h"
#include "model/Token.h"

#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

// Keeps the log (function names as they load, reports) to print when a program fails.
class KeptLog final : public CSimpleInterface {
 public:
  void write(std::string_view message) override { (text_ += message) += '\n'; }
  void print() const { std::cerr << text_; }

 private:
  std::string text_;
};

// GNVCFL text inside a definition document: "<" and "&" are markup there.
std::string escapedForXml(std::string_view text) {
  std::string escaped;
  for (char c : text) escaped += c == '<' ? "&lt;" : c == '&' ? "&amp;" : std::string(1, c);
  return escaped;
}

constexpr int kPredicateCalls = 1000000;
constexpr int kRounds = 3;

// One program: its GNVCFL function (called with no argument, or with
// `argument` when it is not negative; or executed by a loaded net), its Lua
// twin (a chunk that leaves its result in `r`), and the units of work one run does.
struct Program {
  const char* name;
  const char* unit;
  double units;
  double argument;
  bool executedByNet;
  const char* gnvcfl;
  const char* lua;
};

const Program kPrograms[] = {
    {"sum", "iteration", 10000000, -1, false,
     "(defun sum \"0\" () (i s) (let i 1) (let s 0)"
     "  (while (< i 10000001) (let s (+ s i)) (let i (+ i 1))) s)",
     "local s, i = 0, 1; while i < 10000001 do s = s + i; i = i + 1 end; r = s"},
    {"fib", "call", 635621 /* 2 * fib(28) - 1 */, 27, false,
     "(defun fib \"0\" (n) () (if (< n 2) n (+ (fib (- n 1)) (fib (- n 2)))))",
     "local function fib(n) if n < 2 then return n end return fib(n - 1) + fib(n - 2) end; r = fib(27)"},
    {"vector", "element", 2000000, -1, false,
     "(defun vector \"0\" () (v i k s) (let s 0)"
     "  (for k 1 1000 1 (let v [nx1000 0])"
     "    (for i 0 999 1 (concat v i) (set-nth i (* i 2) v))"
     "    (for i 0 999 1 (let s (+ s (get-nth i v)))))"
     "  s)",
     "local s = 0; for k = 1, 1000 do local v = {};"
     "  for i = 0, 999 do v[#v + 1] = i * 2 end;"
     "  for i = 0, 999 do s = s + v[i + 1] end end; r = s"},
    {"string", "append", 1000000, -1, false,
     "(defun string \"0\" () (t j k)"
     "  (for k 1 100000 1 (let t \"\") (for j 1 10 1 (let t (+ t \"ab\" j))))"
     "  t)",
     "local t; for k = 1, 100000 do t = ''; for j = 1, 10 do t = t .. 'ab' .. j end end; r = t"},
    {"predicate", "call", kPredicateCalls, -1, true,
     "(defun busy \"0\" () () (and (>= (get-char 0) (get-char 1)) (< (get-named tokenobj \"load\") 10)))",
     "local token = {default = {5, 5, 5}, current = 1, named = {load = 3}};"
     "local function past(c, k) return c.default[(c.current - k - 1) % 3 + 1] end;"
     "local function busy(t) if past(t, 0) >= past(t, 1) and t.named.load < 10 then return 1 end return 0 end;"
     "local n = 0; for c = 1, 1000000 do n = n + busy(token) end; r = n"},
};

// The predicate's net: one place holding one token with a number history and
// a named characteristic, as a definition document loads them.
constexpr const char* kPredicateNet =
    "<?xml version=\"1.0\"?>\n<gn xmlns=\"urn:vanterserver:gn-definition\">"
    "<places><place id=\"P\"/></places><functions>%s</functions><tokens><token id=\"k\" host=\"P\">"
    "<characteristic name=\"Default\" type=\"double\" history=\"2\">5</characteristic>"
    "<characteristic name=\"load\" type=\"double\">3</characteristic></token></tokens></gn>\n";

// Processor time, as Lua's os.clock measures it: other work on the machine
// then slows neither side's figures.
double processorSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

CExpression* functionNamed(CAbstractTransition& net, const char* name) {
  NameTable& table = net.functionsTable();
  return static_cast<CExpression*>(table.objectAt(table.indexOf(name)));
}

// Loads the predicate's net and executes the predicate for its token as the
// step engine does; seconds taken, or -1 when the net did not load.
double timePredicate(const Program& program) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("vanter-lang-bench-" + std::to_string(getpid()) + ".xml")).string();
  std::string definition(kPredicateNet);
  definition.replace(definition.find("%s"), 2, escapedForXml(program.gnvcfl));
  std::ofstream(path) << definition;
  KeptLog log;
  CAbstractTransition net;
  net.prepare(&log, path, "", nullptr);
  registerBuiltIns(net);
  const bool ready = net.initialize();
  std::filesystem::remove(path);
  if (!ready) {
    log.print();
    return -1.0;
  }
  CExpression* predicate = functionNamed(net, "busy");
  CToken* token = static_cast<CToken*>(net.tokensTable().objectAt(net.tokensTable().indexOf("k")));
  long long trues = 0;
  const double start = processorSeconds();
  for (int i = 0; i < kPredicateCalls; ++i) trues += predicate->execute(token, nullptr, 0);
  const double elapsed = processorSeconds() - start;
  std::printf("GNVCFL %-9s = %lld\n", program.name, trues);
  if (net.runtimeOk() && trues == kPredicateCalls) return elapsed;
  log.print();
  return -1.0;
}

// Seconds taken by one call of the program's function; its value is printed.
double timeCall(const Program& program) {
  if (program.executedByNet) return timePredicate(program);
  KeptLog log;
  CAbstractTransition net;
  net.prepare(&log, "", "", nullptr);
  registerBuiltIns(net);
  if (!loadFunctionSource(net, program.gnvcfl) || !net.bindAll()) {
    log.print();
    return -1.0;
  }
  CDoubleValue time(0);
  CallContext context{&time, nullptr, 0};
  CDoubleValue argument(program.argument);
  CTypedValue* arguments[] = {&argument};
  const int argumentCount = program.argument >= 0 ? 1 : 0;
  ValueSlot result;
  const double start = processorSeconds();
  const bool ok = functionNamed(net, program.name)->call(result, arguments, argumentCount, context);
  const double elapsed = processorSeconds() - start;
  std::printf("GNVCFL %-9s = %s\n", program.name, result.get() ? textOf(*result.get()).c_str() : "(none)");
  if (ok) return elapsed;
  log.print();
  return -1.0;
}

// Runs every twin once in one lua5.4 process; Lua times itself, so its
// start-up is not counted. False when lua5.4 did not run.
bool runLua(double* seconds) {
  std::string script;
  for (const Program& program : kPrograms) {
    script += "do local started = os.clock(); local r; " + std::string(program.lua) +
              "; io.write(string.format('%.6f ', os.clock() - started)); io.stderr:write('Lua    " +
              program.name + " = ', tostring(r), '\\n') end ";
  }
  const std::string scriptPath = (std::filesystem::temp_directory_path() /
                                  ("vanter-lang-bench-" + std::to_string(getpid()) + ".lua")).string();
  std::ofstream(scriptPath) << script;
  std::fflush(stdout);  // the twins' results follow GNVCFL's
  std::FILE* lua = ::popen(("lua5.4 " + scriptPath).c_str(), "r");
  int read = 0;
  if (lua != nullptr) {
    for (std::size_t i = 0; i < std::size(kPrograms); ++i) read += std::fscanf(lua, "%lf", &seconds[i]);
  }
  const int status = lua != nullptr ? ::pclose(lua) : -1;
  std::filesystem::remove(scriptPath);
  return read == static_cast<int>(std::size(kPrograms)) && status == 0;
}

// Keeps the smaller of two times; a negative time (did not run) stays negative.
void keepFastest(double& fastest, double seconds) {
  if (seconds < 0 || fastest < 0) {
    fastest = -1.0;
  } else if (seconds < fastest) {
    fastest = seconds;
  }
}

void printRow(const Program& program, double gnvcflSeconds, double luaSeconds) {
  const double gnvcfl = gnvcflSeconds * 1e9 / program.units;
  if (gnvcflSeconds < 0) {
    std::printf("%-10s did not run\n", program.name);
  } else if (luaSeconds < 0) {
    std::printf("%-10s per %-9s GNVCFL %8.1f ns\n", program.name, program.unit, gnvcfl);
  } else {
    const double lua = luaSeconds * 1e9 / program.units;
    std::printf("%-10s per %-9s GNVCFL %8.1f ns   Lua %7.1f ns   ratio %5.2f\n", program.name, program.unit, gnvcfl,
                lua, gnvcfl / lua);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (!initializeXerces()) return 1;
  const std::string only = argc > 1 ? argv[1] : "";
  constexpr std::size_t kCount = std::size(kPrograms);
  double gnvcfl[kCount];
  double lua[kCount];
  for (std::size_t i = 0; i < kCount; ++i) gnvcfl[i] = lua[i] = 1e300;
  for (int round = 0; round < (only.empty() ? kRounds : 1); ++round) {
    for (std::size_t i = 0; i < kCount; ++i) {
      if (only.empty() || only == kPrograms[i].name) keepFastest(gnvcfl[i], timeCall(kPrograms[i]));
    }
    double seconds[kCount];
    const bool luaRan = only.empty() && runLua(seconds);
    for (std::size_t i = 0; i < kCount; ++i) keepFastest(lua[i], luaRan ? seconds[i] : -1.0);
  }
  for (std::size_t i = 0; i < kCount; ++i) {
    if (only.empty() || only == kPrograms[i].name) printRow(kPrograms[i], gnvcfl[i], lua[i]);
  }
  terminateXerces();
  return 0;
}
