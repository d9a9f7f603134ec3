// The special forms evaluated end to end: their truth rules, results, loop
// bounds, slot effects, and the runtime errors for values of the wrong type.
#include "LangFixture.h"

namespace {

struct Case {
  const char* body;
  const char* expected;
};

class FormTest : public LangFixture {
 protected:
  void expectAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
      // Each case needs a net of its own: probe is defined once per net.
      net_.prepare(&log_, "", "", nullptr);
      EXPECT_EQ(eval(c.body), c.expected) << c.body << "\nlog:\n" << log_.text();
    }
  }
};

// A number between 0 and 1e-9, and a NaN, made at run time.
constexpr const char* kTiny = "(/ 1 10000000000)";
constexpr const char* kNaN = "(- (exp 1000) (exp 1000))";

TEST_F(FormTest, IfTakesOnlyNonZeroNumbersAsTrue) {
  std::string tiny = std::string("(if ") + kTiny + " 1 2)";
  std::string nan = std::string("(if ") + kNaN + " 1 2)";
  expectAll({{"(if 0.5 1 2)", "1"},
                    {"(if 0 1 2)", "2"},
                    {"(if \"x\" 1 2)", "2"},
                    {"(if [1] 1 2)", "2"},
                    {tiny.c_str(), "1"},
                    {nan.c_str(), "1"},
                    {"(if 1 \"yes\" (abs \"never evaluated\"))", "\"yes\""},
                    {"(if 1 (MathEval) 2)", "none"}});
}

// Conditions made by two-argument comparisons and arithmetic: numbers are
// tested as the call's number, other values as the call's value.
TEST_F(FormTest, ConditionsFromTwoArgumentCallsOfNumbersAndOfOtherValues) {
  expectAll({{"(if (- 0.5 0.5) 1 2)", "2"},
             {"(if (< 1 \"a\") 1 2)", "1"},
             {"(if (= \"a\" \"a\") 1 2)", "1"},
             {"(let i 0) (while (!= i 3) (let i (+ i 1))) i", "3"},
             {"(let x \"a\") (while (< x \"aaa\") (let x (+ x \"a\"))) x", "\"aaa\""}});
}

TEST_F(FormTest, AndOrStopEarlyAndUseTheThreshold) {
  std::string andTiny = std::string("(and 1 ") + kTiny + ")";
  std::string orTiny = std::string("(or 0 ") + kTiny + ")";
  std::string andNaN = std::string("(and ") + kNaN + ")";
  std::string orNaN = std::string("(or ") + kNaN + ")";
  expectAll({{"(and)", "1"},
                    {"(or)", "0"},
                    {"(and 1 2 -3)", "1"},
                    {"(or 0 0)", "0"},
                    {"(let x 1) (and 1 0 (let x 5)) x", "1"},
                    {"(let x 1) (and 1 1 (let x 5)) x", "5"},
                    {"(let x 1) (or 0 1 (let x 5)) x", "1"},
                    {"(let x 1) (or 0 0 (let x 5)) x", "5"},
                    {"(and 1 (MathEval) (abs \"never\"))", "0"},
                    {"(or 0 (MathEval) (abs \"never\"))", "1"},
                    {andTiny.c_str(), "0"},
                    {orTiny.c_str(), "0"},
                    {andNaN.c_str(), "0"},
                    {orNaN.c_str(), "1"}});
}

TEST_F(FormTest, LetKeepsTheSlotsTypeAndGivesACopy) {
  expectAll({{"(let x 5) x", "5"},
                    {"(let x \"s\")", "\"s\""},
                    {"(let x 1) (let x \"s\") x", "1"},
                    {"(let x \"s\") (let x 2) x", "\"s\""},
                    {"(let x [1 2]) (let x [3]) x", "[3]"},
                    {"(let x [1 2]) (let a x) (let a [7 7]) x", "[1 2]"},
                    {"(let x (+ 2 3))", "5"},
                    {"(let x (let a (+ 1 2))) (+ x a)", "6"},
                    {"(let x (if 1 (+ 1 1) (+ 2 2))) x", "2"},
                    {"(let x (if 0 (+ 1 1) (+ 2 2))) x", "4"}});
}

TEST_F(FormTest, LetWithoutAValueFailsSilently) {
  EXPECT_EQ(eval("(let x (MathEval))"), "error");
  EXPECT_EQ(log_.text().find("RunTime error"), std::string::npos) << log_.text();
}

TEST_F(FormTest, WhileRunsWhileTheConditionHolds) {
  expectAll({{"(let i 0) (while (< i 3) (let i (+ i 1)))", "3"},
                    {"(let i 0) (while (< i 3) (let i (+ i 1))) i", "3"},
                    {"(while 0 (let i 1))", "0"},
                    {"(let i 0) (while (< i 2) (let i (+ i 1)) \"last\")", "\"last\""},
                    {"(let i 5) (while (> i 0) (let i (- i 1)) i)", "0"},
                    {"(while 0 1 \"never evaluated\")", "\"never evaluated\""}});
}

TEST_F(FormTest, ForCountsInclusivelyWithTruncatedBounds) {
  expectAll({{"(for i 1 5 2 i)", "5"},
                    {"(for i 5 1 -2 i)", "1"},
                    {"(for i 1 5 -1 i)", "none"},
                    {"(for i 1 0 1 7)", "7"},
                    {"(for i 5 5 -1 i)", "none"},
                    {"(for i 1 3 1)", "1"},
                    {"(let x 0) (for i 1.9 3.9 1 (let x (+ x i))) x", "6"},
                    {"(let x 0) (for i 1 5 2 (let x (+ x 1))) x", "3"},
                    {"(let x 0) (for i 5 1 -2 (let x (+ x 1))) x", "3"},
                    {"(for i 1 5 2 1) i", "5"},
                    {"(for i 1 5 -1 1) i", "0"},
                    {"(let i \"text\") (for i 1 2 1 1) i", "2"},
                    {"(let x 0) (for i 2147483646 2147483647 1 (let x (+ x 1))) x", "2"}});
}

TEST_F(FormTest, WrongTypesWhereANumberIsNeededAreRuntimeErrors) {
  struct Row {
    const char* body;
    const char* message;
  };
  const Row rows[] = {
      {"(while \"x\" 1)", "the condition of while is not a number."},
      {"(while (MathEval) 1)", "the condition of while is not a number."},
      {"(for i \"a\" 2 1 1)", "the start of for is not a number."},
      {"(for i 1 [2] 1 1)", "the end of for is not a number."},
      {"(for i 1 2 (MathEval) 1)", "the step of for is not a number."},
      {"(and 1 \"x\")", "an argument of and is not a number."},
      {"(or 0 [1])", "an argument of or is not a number."},
      {"(if (MathEval) 1 2)", "the condition of if has no value."},
      {"(foreach t in 5 1)", "foreach needs a reference to a place."},
  };
  for (const Row& row : rows) {
    net_.prepare(&log_, "", "", nullptr);
    log_.reset();
    testing::internal::CaptureStderr();
    EXPECT_EQ(eval(row.body), "error") << row.body;
    testing::internal::GetCapturedStderr();
    std::string expected = std::string("***Primitive RunTime error:\n\n\t\tGNVCFL runtime error: ") + row.message;
    EXPECT_NE(log_.text().find(expected), std::string::npos) << row.body << "\nlog:\n" << log_.text();
  }
}

TEST_F(FormTest, ForEachWalksThePlacesTokensInListOrder) {
  CPlace* p1 = place("P1");
  CToken* first = token("T1", 1);
  CToken* second = token("T2", 2);
  p1->addToken(first);
  p1->addToken(second);
  ASSERT_TRUE(load("(defun count \"1;places.P1.obj\" () (t x) (let x 0) (foreach t in #0 (let x (+ x 1))) x)"
                   "(defun last \"1;places.P1.obj\" () (t x) (foreach t in #0 (let x t)) x)"
                   "(defun whole \"1;places.P1.obj\" () (t) (foreach t in #0 1))"));
  EXPECT_EQ(call("count"), "2");
  ValuePtr last = callForValue("last");
  ASSERT_NE(asObject(last.get()), nullptr);
  EXPECT_EQ(asObject(last.get())->target(), second);
  ValuePtr whole = callForValue("whole");
  ASSERT_NE(asObject(whole.get()), nullptr);
  EXPECT_EQ(asObject(whole.get())->target(), p1);
}

}  // namespace
