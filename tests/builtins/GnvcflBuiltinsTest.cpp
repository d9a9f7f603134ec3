// Built-ins called from GNVCFL source through a loaded net: each row is an
// expression and the literal form of its value, or "error: " and the exact
// message of its runtime error report. (MathEval) stands for an argument
// that has no value.
#include "GnvcflNet.h"
#include "PrimitiveCall.h"

#include "base/SanitizerBuild.h"
#include "lang/Function.h"
#include "model/Place.h"
#include "model/Token.h"

#include <malloc.h>

#include <cstdlib>
#include <set>

namespace {

using Row = std::pair<const char*, const char*>;

template <std::size_t N>
void checkRows(const Row (&rows)[N]) {
  for (const auto& [expression, expected] : rows) EXPECT_EQ(evaluate(expression), expected) << expression;
}

// A net whose function `f` runs `body` for token k.
std::string function(const std::string& locals, const std::string& body) {
  return std::string("(defun f ") + GnvcflNet::kFrame + " () (" + locals + ") " + body + ")";
}

TEST(GnvcflBuiltins, Arithmetic) {
  const char* sameType = "error: +: only numeric, string or vector arguments of the same type are allowed.";
  const Row rows[] = {
      {"(+ \"a\" 1.9 \"b\")", "\"a1b\""}, {"(+ \"a\" -1.9)", "\"a-1\""}, {"(+ [1 2 3] [10 20])", "[11 22 3]"},
      {"(+ 1 \"a\")", sameType},          {"(+ 1 (MathEval))", sameType},
      {"(+)", "error: +: at least one numeric, string or vector argument expected."},
      {"(- 5 7)", "-2"},                  {"(- 5)", "error: -: two numeric arguments expected"},
      {"(* 2 3 4)", "24"},                {"(* 2 \"a\")", "error: *: only numeric arguments are allowed."},
      {"(*)", "error: *: at least one numeric argument expected."},
      {"(= (/ 49 49) 1)", "0"},  // 49 * (1/49), not 49 / 49
      {"(/ 1 -0.0)", "error: /: Division by zero!"}, {"(/ 1)", "error: /: two numeric arguments expected"},
  };
  checkRows(rows);
}

TEST(GnvcflBuiltins, ComparisonAndLogic) {
  const Row rows[] = {
      {"(= 1 1)", "1"},           {"(= 1 \"1\")", "0"},      {"(= tokenobj tokenobj)", "0"},
      {"(!=)", "1"},              {"(!= 1)", "0"},           {"(!= 1 1 2)", "1"},
      {"(!= tokenobj 1)", "0"},   {"(< 1 \"a\")", "1"},      {"(< \"a\" 1)", "1"},
      {"(> 1 \"a\")", "0"},       {"(<= 2 2)", "1"},         {"(>= \"b\" \"a\")", "1"},
      {"(not 0)", "1"},           {"(not -0.0)", "1"},       {"(not \"\")", "0"},
      {"(< 1)", "error: <: two arguments expected."},        {"(> 1 2 3)", "error: >: two arguments expected."},
      {"(< 1 (MathEval))", "error: <: two arguments expected."},
      {"(<= 1 (MathEval))", "error: <=: two values expected."},
      {"(not 1 2)", "error: not: one argument expected."},
  };
  checkRows(rows);
}

TEST(GnvcflBuiltins, Mathematics) {
  const Row rows[] = {
      {"(abs -4)", "4"},          {"(sqr 3)", "9"},          {"(sqrt -0.0)", "-0"},
      {"(atan 1)", "0.785398"},   {"(exp 1)", "2.71828"},    {"(log 0)", "-inf"},
      {"(round 2.5)", "3"},       {"(round -2.5)", "-2"},    {"(round -2.6)", "-3"},
      {"(pow 2 10)", "1024"},     {"(remainder 7.9 2.1)", "1"}, {"(remainder -7 2)", "-1"},
      {"(remainder -2147483648 -1)", "0"},  // overflows a 32-bit division
      {"(sqrt -1)", "error: sqrt: cannot take square root from a negative number."},
      {"(sqrt \"a\")", "error: sqrt: one numeric argument expected."},
      {"(abs \"a\")", "error: abs: One numeric argument expected"},
      {"(exp \"x\")", "error: exp: one numeric argument expected."},
      {"(log \"x\")", "error: ln: one numeric argument expected."},
      {"(round [1])", "error: round: One numeric argument expected"},
      {"(pow \"2\" 1)", "error: power: two numeric arguments expected"},
      {"(remainder 1 \"2\")", "error: remainder: two numeric arguments expected"},
      {"(remainder 1 0.2)", "error: remainder: the second argument truncates to 0; no remainder exists."},
      {"(random 0.9)", "error: random: the argument truncates to 0; no value lies below it."},
      {"(random \"9\")", "error: random: One numeric argument expected"},
  };
  checkRows(rows);
}

TEST(GnvcflBuiltins, RandomStaysBelowItsBoundInEitherSign) {
  GnvcflNet net(function("i", "(for i 1 200 1 (set-named tokenobj (+ \"r\" i) (random (if (remainder i 2) 10 -10))))"));
  ASSERT_TRUE(net.ready()) << net.log().text();
  ASSERT_TRUE(net.run("f").runtimeOk);
  std::set<double> seen;
  for (int i = 1; i <= 200; ++i) seen.insert(std::strtod(net.characteristic("r" + std::to_string(i)).c_str(), nullptr));
  EXPECT_EQ(seen, std::set<double>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(GnvcflBuiltins, SequencingTimingAndVectors) {
  const std::string pastTheLimits = "error: " + valueLimitMessage("SetNth: the vector");
  const Row rows[] = {
      {"(begin 1 2 [3])", "[3]"},  {"(get-len (timedelta 1))", "1"}, {"(< (lifetime) 60)", "1"},
      {"(concat 1 2)", "1"},       {"(get-len [1 2 3])", "3"},       {"(get-len [])", "0"},
      {"(get-nth 1.9 [5 6])", "6"}, {"(get-nth -0.5 [5 6])", "5"},   {"(get-nth 0 [[1 2] 3])", "[1 2]"},
      {"(begin)", "error: begin: at least one argument expected; there is no last value to give."},
      {"(get-nth 2 [5 6])", "error: Vector index is out of bounds in call to GetNth."},
      {"(get-nth [5 6] 0)", "error: GetNth: invalid arguments."},
      {"(get-len \"abc\")", "error: get-len: invalid arguments."},
      {"(set-nth 0 9 5)", "error: SetNth: invalid arguments."},
      {"(set-nth 0 9 [1] 1)", "error: SetNth: invalid arguments."},
      {"(set-nth 0 (MathEval) [1])", "error: SetNth: invalid arguments."},
      {"(set-nth 0 [nx1048575 1] [1 2])", pastTheLimits.c_str()},
  };
  checkRows(rows);
}

TEST(GnvcflBuiltins, SetNthChangesALocalVectorInPlace) {
  GnvcflNet net(function("v w", "(let v [1 2 3]) (set-nth 1 9 v) (set-nth 5 9 v) (set-named tokenobj \"v\" v)"
                                " (let w [1 2]) (set-nth 0 w w) (set-named tokenobj \"w\" w)"));
  ASSERT_TRUE(net.ready()) << net.log().text();
  ASSERT_TRUE(net.run("f").runtimeOk);
  EXPECT_EQ(net.characteristic("v"), "[1 9 3]");
  EXPECT_EQ(net.characteristic("w"), "[[1 2] 2]");  // a vector stored into itself keeps its former contents
}

TEST(GnvcflBuiltins, NetQueriesAndTheCurrentToken) {
  const Row rows[] = {
      {"(exists #0)", "1"},            {"(exists #1)", "0"},         {"(isthere #0)", "1"},
      {"(isthere #1)", "0"},           {"(wasthere #0)", "1"},       {"(wasthere #1)", "0"},
      {"(get-len (tokens-list #0))", "1"}, {"(tokens-list #1)", "[[empty]]"},
      {"(get-char 0)", "1"},           {"(get-char 0 tokenobj)", "1"},
      {"(get-named tokenobj \"none\")", "0"},
      {"(exists tokenobj)", "error: exists: one GN place argument expected"},
      {"(isthere 1)", "error: isthere: one GN place argument expected"},
      {"(wasthere \"A\")", "error: wasthere: one GN place argument expected"},
      {"(tokens-list (MathEval))", "error: Tokenslist: place expected"},
      {"(get-char)", "error: get_char: one or two arguments expected"},
      {"(get-char tokenobj 0)", "error: get_char: second argument should be numeric"},
      {"(get-char 0 #0)", "error: get_char: first argument should be a token object"},
      {"(get-char -1)", "error: get_char: the number of steps back must not be negative."},
      {"(begin (set tokenobj) 0)", "error: Set: value expected."},
      {"(get-named #0 \"a\")", "error: get-named: Invalid Arguments."},
      {"(begin (set-named tokenobj \"a\" tokenobj) 0)", "error: set-named: Invalid Arguments."},
      {"(del-named tokenobj 1)", "error: del-named: Invalid Arguments."},
      {"(del-named tokenobj \"none\")", "error: del-named: Named characteristic not found."},
  };
  checkRows(rows);
}

TEST(GnvcflBuiltins, SetAndNamedCharacteristicsChangeTheToken) {
  GnvcflNet net(function("", "(set 5) (set \"ignored\") (set-named tokenobj \"n\" [1 2]) (set-named tokenobj \"n\" [3])"
                             " (set-named tokenobj \"copy\" (get-named tokenobj \"n\")) (del-named tokenobj \"copy\")"));
  ASSERT_TRUE(net.ready()) << net.log().text();
  FunctionRun outcome = net.run("f");
  ASSERT_TRUE(outcome.runtimeOk) << outcome.log;
  EXPECT_EQ(outcome.returned, 1);  // del-named gives true
  EXPECT_EQ(net.characteristic("Default"), "5");
  EXPECT_EQ(net.characteristic("n"), "[3]");
  EXPECT_EQ(net.characteristic("copy"), "<none>");
}

// A name set and deleted over and over must not cost memory for good, while a
// deleted default characteristic stays the one `set` and `get-char` use.
TEST(GnvcflBuiltins, DelNamedFreesWhatItRemovesButKeepsTheDefault) {
  if (kAddressSanitizerBuild) GTEST_SKIP() << "the sanitizer's heap does not report its use";
  GnvcflNet net(function("i", "(for i 1 20000 1 (begin (set-named tokenobj \"t\" \"some text\")"
                             " (del-named tokenobj \"t\")))"
                             " (del-named tokenobj \"Default\") (set 7) (get-char 0)"));
  ASSERT_TRUE(net.ready()) << net.log().text();
  const std::size_t before = mallinfo2().uordblks;
  FunctionRun outcome = net.run("f");
  const std::size_t after = mallinfo2().uordblks;
  ASSERT_TRUE(outcome.runtimeOk) << outcome.log;
  EXPECT_EQ(outcome.returned, 7);
  EXPECT_EQ(net.characteristic("Default"), "<none>");
  EXPECT_LT(after, before + 256 * 1024) << "20,000 removed characteristics kept";
}

TEST(GnvcflBuiltins, SplitRefusesArgumentsInTheOrderOfItsRules) {
  const std::string tooLong(50, 'x');  // with "_k" 52 characters, one more than a token name holds
  const char* count = "error: invalid number of arguments to split: an odd number of arguments expected";
  const Row rows[] = {
      {"(split tokenobj \"a\")", count},
      {"(split tokenobj \"a\" #1 \"x\")", count},
      {"(split #0 1 2)", "error: invalid arguments to split: the first argument of split must be a token object"},
      {"(split tokenobj 1 2)", "error: invalid arguments to split: the second argument of split must be a string"},
      {"(split tokenobj \"a\" tokenobj)",
       "error: invalid arguments to split: the third argument of split must be a place object"},
      {"(split tokenobj \"a\" #1 1 2)", "error: Invalid odd argument to split. String expected."},
      {"(split tokenobj \"a\" #1 \"x\" (MathEval))",
       "error: split: a characteristic's value is missing (its expression gave no value)."},
  };
  checkRows(rows);
  const std::string refused = "error: split: the new token's name is longer than 51 characters and is refused: ";
  EXPECT_EQ(evaluate("(split tokenobj \"" + tooLong + "\" #1)"), refused + tooLong + "_k");
  EXPECT_EQ(evaluate("(split tokenobj \"" + tooLong.substr(1) + "\" #1)"), "1");
}

TEST(GnvcflBuiltins, SplitMakesATokenInAnotherPlaceAndReportsItsEntrance) {
  GnvcflNet net(function("", "(split tokenobj \"a\" #1 \"z\" 1 \"Default\" 7 \"z\" [2 3])"));
  ASSERT_TRUE(net.ready()) << net.log().text();
  const std::size_t before = net.events().entered.size();
  FunctionRun outcome = net.run("f");
  ASSERT_TRUE(outcome.runtimeOk) << outcome.log;
  EXPECT_EQ(outcome.returned, 1);
  CToken* made = net.token("a_k");
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->host(), net.place("B"));
  EXPECT_EQ(made->entering(), net.net().time());
  EXPECT_EQ(textOf(made->defaultCharacteristic()->value()), "7");
  EXPECT_EQ(made->defaultCharacteristic()->history(), 5);
  EXPECT_EQ(textOf(made->characteristic("z")->value()), "2 3");
  ASSERT_EQ(net.events().entered.size(), before + 1);
  EXPECT_EQ(net.events().entered.back().token, made);
  EXPECT_EQ(net.token("k")->host(), net.place("A"));
  EXPECT_EQ(net.place("A")->tokens().count(), 1);
}

TEST(GnvcflBuiltins, ARuntimeErrorReportsBannerArgumentsAndOneCallStackEntry) {
  GnvcflNet net(std::string("(defun inner \"0\" (x) () (/ x 0))") + function("", "(inner 1)"));
  ASSERT_TRUE(net.ready()) << net.log().text();
  FunctionRun outcome = net.run("f");
  EXPECT_FALSE(outcome.runtimeOk);
  EXPECT_EQ(outcome.returned, 0);
  EXPECT_EQ(outcome.log,
            "\n\n\n----------------------------------Terminated----------------------------------"
            "\n\n***Primitive RunTime error:\n\n\t\t/: Division by zero!\n\n***Arguments to the primitive:\n\n\n"
            "***Call stack entry:\n\nf\n");
  EXPECT_EQ(outcome.errors, "\t\t0: 1\n\t\t1: 0\n\n");
}

TEST(GnvcflBuiltins, RegistrationGivesEveryArityAndTheNetsID) {
  testing::internal::CaptureStderr();
  GnvcflNet net(function("", "(abs 1 2)"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "GNVCFL syntax error: Wrong number of arguments in 'abs'\n");
  ASSERT_TRUE(net.ready()) << net.log().text();
  EXPECT_EQ(net.net().functionsTable().objectAt(net.net().functionsTable().indexOf("f")), nullptr);
  const std::pair<const char*, int> arities[] = {
      {"+", -1},        {"-", -1},         {"*", -1},         {"/", -1},         {"=", 2},         {"!=", -1},
      {"not", -1},      {"<", -1},         {"abs", 1},        {">", -1},         {"MathEval", -1}, {"set", 1},
      {"print", -1},    {"newline", -1},   {"get-char", -1},  {"get-nth", 2},    {"set-nth", -1},  {"remainder", 2},
      {"exists", 1},    {"tokens-list", 1}, {"get-len", 1},   {"isthere", 1},    {"wasthere", 1},  {"round", 1},
      {"timedelta", -1}, {"lifetime", 0},  {"begin", -1},     {"fread", 1},      {"sqr", 1},       {"sqrt", 1},
      {"atan", 1},      {"<=", 2},         {">=", 2},         {"concat", -1},    {"random", 1},    {"pow", 2},
      {"exp", 1},       {"log", 1},        {"get-named", 2},  {"set-named", 3},  {"del-named", 2}, {"split", -1},
      {"matlab", -1},   {"openwindow", -1}, {"senddata", 2},  {"sendscalar", 2}, {"message", -1},  {"input", -1},
      {"input-str", 1},
  };
  for (const auto& [name, expected] : arities) {
    int arity = -99;
    PrimitiveFunction found = nullptr;
    EXPECT_TRUE(findPrimitive(name, &arity, &found) && arity == expected && found != nullptr) << name << " " << arity;
  }
  auto* identity = static_cast<CFunction*>(net.net().functionsTable().objectAt(net.net().functionsTable().indexOf("ID")));
  ASSERT_NE(identity, nullptr);
  EXPECT_EQ(identity->execute(net.token("k"), nullptr, 0), 1);
}

}  // namespace
