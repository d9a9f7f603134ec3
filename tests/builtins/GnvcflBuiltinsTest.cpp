// Built-ins called from GNVCFL source through a loaded net: parsing with the
// registered arities, argument passing, results, and runtime errors with their
// report, argument listing and call-stack entry.
#include "GnvcflNet.h"

#include "builtins/Primitive.h"
#include "lang/Function.h"
#include "model/Place.h"
#include "model/Token.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

namespace {


void checkAll(const std::pair<const char*, const char*>* rows, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(evaluate(rows[i].first), rows[i].second) << rows[i].first;
}
#define CHECK_ROWS(rows) checkAll(rows, std::size(rows))

TEST(GnvcflArithmetic, AddsSubtractsMultipliesAndDivides) {
  const std::pair<const char*, const char*> rows[] = {
      {"(+ \"a\" 1.9 \"b\")", "\"a1b\""},
      {"(+ [1 2 3] [10 20])", "[11 22 3]"},
      {"(- 5 7)", "-2"},
      {"(* 2 3 4)", "24"},
      {"(/ 6 4)", "1.5"},
      {"(+ 1 \"a\")", "error: +: only numeric, string or vector arguments of the same type are allowed."},
      {"(- 5)", "error: -: two numeric arguments expected"},
      {"(/ 1 -0.0)", "error: /: Division by zero!"},
  };
  CHECK_ROWS(rows);
}

TEST(GnvcflComparison, ComparesAndNegates) {
  const std::pair<const char*, const char*> rows[] = {
      {"(= 1 1)", "1"},          {"(= 1 \"1\")", "0"},       {"(!= 1 1 2)", "1"},
      {"(< 1 \"a\")", "1"},      {"(> 1 \"a\")", "0"},       {"(<= 2 2)", "1"},
      {"(>= \"b\" \"a\")", "1"}, {"(not 0)", "1"},           {"(not \"\")", "0"},
      {"(= tokenobj tokenobj)", "0"},
      {"(not 1 2)", "error: not: one argument expected."},
  };
  CHECK_ROWS(rows);
}

TEST(GnvcflMathematics, ComputesFunctionsOfNumbers) {
  const std::pair<const char*, const char*> rows[] = {
      {"(round -2.5)", "-2"},   {"(round 2.5)", "3"},      {"(remainder 7.9 2.1)", "1"},
      {"(remainder -7 2)", "-1"}, {"(pow 2 10)", "1024"}, {"(sqr 3)", "9"},
      {"(sqrt -0.0)", "-0"},    {"(log 0)", "-inf"},       {"(abs -4)", "4"},
      {"(sqrt -1)", "error: sqrt: cannot take square root from a negative number."},
      {"(exp \"x\")", "error: exp: one numeric argument expected."},
      {"(remainder 1 0.2)", "error: remainder: the second argument truncates to 0; no remainder exists."},
      {"(random 0)", "error: random: the argument truncates to 0; no value lies below it."},
  };
  CHECK_ROWS(rows);
}

TEST(GnvcflMathematics, RandomStaysBelowItsBoundInEitherSign) {
  GnvcflNet net(std::string("(defun draw ") + GnvcflNet::kFrame +
                " () (i) (for i 1 200 1 (set-named tokenobj (+ \"r\" i) (random (if (remainder i 2) 10 -10)))))");
  ASSERT_TRUE(net.ready()) << net.log().text();
  ASSERT_TRUE(net.run("draw").runtimeOk);
  for (int i = 1; i <= 200; ++i) {
    const double drawn = std::strtod(net.characteristic("r" + std::to_string(i)).c_str(), nullptr);
    EXPECT_GE(drawn, 0.0);
    EXPECT_LE(drawn, 9.0);
    EXPECT_EQ(drawn, static_cast<int>(drawn));
  }
}

TEST(GnvcflSequencing, BeginTimingAndMathEval) {
  const std::pair<const char*, const char*> rows[] = {
      {"(begin 1 2 3)", "3"},
      {"(get-len (timedelta))", "1"},
      {"(< (lifetime) 60)", "1"},
      {"(concat 1 2)", "1"},
      {"(begin)", "error: begin: at least one argument expected; there is no last value to give."},
      {"(MathEval 1)", "error: set-named: Invalid Arguments."},  // no value to store
  };
  CHECK_ROWS(rows);
}

TEST(GnvcflVectors, ReadAndChangeVectors) {
  const std::pair<const char*, const char*> rows[] = {
      {"(get-len [1 2 3])", "3"},
      {"(get-len [])", "0"},
      {"(get-nth 1.9 [5 6])", "6"},
      {"(get-nth -0.5 [5 6])", "5"},
      {"(get-nth 2 [5 6])", "error: Vector index is out of bounds in call to GetNth."},
      {"(get-nth [5 6] 0)", "error: GetNth: invalid arguments."},
      {"(get-len \"abc\")", "error: get-len: invalid arguments."},
      {"(set-nth 0 9 5)", "error: SetNth: invalid arguments."},
  };
  CHECK_ROWS(rows);
}

TEST(GnvcflVectors, SetNthChangesALocalVariableInPlace) {
  GnvcflNet net(std::string("(defun change ") + GnvcflNet::kFrame +
                " () (v) (let v [1 2 3]) (set-nth 1 9 v) (set-nth 5 9 v) (set-named tokenobj \"v\" v))");
  ASSERT_TRUE(net.ready()) << net.log().text();
  ASSERT_TRUE(net.run("change").runtimeOk);
  EXPECT_EQ(net.characteristic("v"), "[1 9 3]");
}

TEST(GnvcflNetQueries, ReadPlacesAndTheCurrentToken) {
  const std::pair<const char*, const char*> rows[] = {
      {"(exists #0)", "1"},
      {"(exists #1)", "0"},
      {"(isthere #0)", "1"},
      {"(wasthere #0)", "1"},
      {"(wasthere #1)", "0"},
      {"(get-len (tokens-list #0))", "1"},
      {"(= (get-nth 0 (tokens-list #0)) tokenobj)", "0"},  // objects never compare equal
      {"(get-char 0)", "1"},
      {"(get-char 0 tokenobj)", "1"},
      {"(get-char tokenobj 0)", "error: get_char: second argument should be numeric"},
      {"(get-char -1)", "error: get_char: the number of steps back must not be negative."},
      {"(exists tokenobj)", "error: exists: one GN place argument expected"},
      {"(tokens-list 1)", "error: Tokenslist: place expected"},
  };
  CHECK_ROWS(rows);
}

TEST(GnvcflNetQueries, SetAndNamedCharacteristicsChangeTheToken) {
  GnvcflNet net(std::string("(defun change ") + GnvcflNet::kFrame +
                " () () (set 5) (set \"ignored\") (set-named tokenobj \"n\" [1 2]) (set-named tokenobj \"n\" [3])"
                " (set-named tokenobj \"copy\" (get-named tokenobj \"n\")) (del-named tokenobj \"copy\"))");
  ASSERT_TRUE(net.ready()) << net.log().text();
  FunctionRun outcome = net.run("change");
  ASSERT_TRUE(outcome.runtimeOk) << outcome.log;
  EXPECT_EQ(outcome.returned, 1);  // del-named gives true
  EXPECT_EQ(net.characteristic("Default"), "5");
  EXPECT_EQ(net.characteristic("n"), "[3]");
  EXPECT_EQ(net.characteristic("copy"), "<none>");
}

TEST(GnvcflSplit, MakesATokenInAnotherPlaceAndReportsItsEntrance) {
  GnvcflNet net(std::string("(defun divide ") + GnvcflNet::kFrame + " () () (split tokenobj \"a\" #1 \"Default\" 7))");
  ASSERT_TRUE(net.ready()) << net.log().text();
  const std::size_t before = net.events().entered.size();
  FunctionRun outcome = net.run("divide");
  ASSERT_TRUE(outcome.runtimeOk) << outcome.log;
  EXPECT_EQ(outcome.returned, 1);
  CToken* made = net.token("a_k");
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(net.net().placeName(made->host()), "B");
  EXPECT_EQ(textOf(made->defaultCharacteristic()->value()), "7");
  ASSERT_EQ(net.events().entered.size(), before + 1);
  EXPECT_EQ(net.events().entered.back().token, made);
  EXPECT_EQ(net.net().placeName(net.token("k")->host()), "A");
}

TEST(GnvcflRuntimeError, ReportsTheBannerTheArgumentsAndOneCallStackEntry) {
  GnvcflNet net(std::string("(defun inner \"0\" (x) () (/ x 0))") + "(defun outer " + GnvcflNet::kFrame +
                " () () (inner 1))");
  ASSERT_TRUE(net.ready()) << net.log().text();
  FunctionRun outcome = net.run("outer");
  EXPECT_FALSE(outcome.runtimeOk);
  EXPECT_EQ(outcome.returned, 0);
  EXPECT_EQ(outcome.log,
            "\n\n\n----------------------------------Terminated----------------------------------"
            "\n\n***Primitive RunTime error:\n\n\t\t/: Division by zero!\n\n***Arguments to the primitive:\n\n\n"
            "***Call stack entry:\n\nouter\n");
  EXPECT_EQ(outcome.errors, "\t\t0: 1\n\t\t1: 0\n\n");
}

TEST(GnvcflArity, FixedAritiesAreCheckedWhenTheSourceIsParsed) {
  testing::internal::CaptureStderr();
  GnvcflNet net(std::string("(defun wrong ") + GnvcflNet::kFrame + " () () (abs 1 2))");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "GNVCFL syntax error: Wrong number of arguments in 'abs'\n");
  ASSERT_TRUE(net.ready()) << net.log().text();
  // The definition was dropped: the name is not a function of the net.
  EXPECT_EQ(net.net().functionsTable().objectAt(net.net().functionsTable().indexOf("wrong")), nullptr);
}

TEST(Registration, EveryBuiltInIsFoundWithItsArityAndTheNetHasID) {
  GnvcflNet net("");
  ASSERT_TRUE(net.ready()) << net.log().text();
  const std::pair<const char*, int> arities[] = {
      {"+", -1},         {"-", -1},          {"*", -1},          {"/", -1},         {"=", 2},
      {"!=", -1},        {"not", -1},        {"<", -1},          {"abs", 1},        {">", -1},
      {"MathEval", -1},  {"set", 1},         {"print", -1},      {"newline", -1},   {"get-char", -1},
      {"get-nth", 2},    {"set-nth", -1},    {"remainder", 2},   {"exists", 1},     {"tokens-list", 1},
      {"get-len", 1},    {"isthere", 1},     {"wasthere", 1},    {"round", 1},      {"timedelta", -1},
      {"lifetime", 0},   {"begin", -1},      {"fread", 1},       {"sqr", 1},        {"sqrt", 1},
      {"atan", 1},       {"<=", 2},          {">=", 2},          {"concat", -1},    {"random", 1},
      {"pow", 2},        {"exp", 1},         {"log", 1},         {"get-named", 2},  {"set-named", 3},
      {"del-named", 2},  {"split", -1},      {"matlab", -1},     {"openwindow", -1}, {"senddata", 2},
      {"sendscalar", 2}, {"message", -1},    {"input", -1},      {"input-str", 1},
  };
  EXPECT_EQ(std::size(arities), 49u);
  for (const auto& [name, expected] : arities) {
    int arity = -99;
    PrimitiveFunction function = nullptr;
    ASSERT_TRUE(findPrimitive(name, &arity, &function)) << name;
    EXPECT_EQ(arity, expected) << name;
    EXPECT_NE(function, nullptr) << name;
  }
  const int id = net.net().functionsTable().indexOf("ID");
  auto* identity = static_cast<CFunction*>(net.net().functionsTable().objectAt(id));
  ASSERT_NE(identity, nullptr);
  EXPECT_EQ(identity->execute(net.token("k"), nullptr, 0), 1);
  EXPECT_TRUE(net.net().runtimeOk());
}

}  // namespace
