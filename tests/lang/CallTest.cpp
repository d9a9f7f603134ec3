// User calls and the net's entry point: argument ownership and its visible
// effects, results, the call-stack entry, the context nested calls see, and
// the runtime errors of calls.
#include "LangFixture.h"

namespace {

using CallTest = LangFixture;

TEST_F(CallTest, LetOnAParameterChangesTheCallersValue) {
  ASSERT_TRUE(load("(defun setter \"0\" (a) () (let a 5))"
                   "(defun fromLocal \"0\" () (x) (let x 1) (setter x) x)"
                   "(defun fromEmpty \"0\" () (x) (setter x) x)"
                   "(defun keeper \"0\" (a) (b) (let b a) (let a 5) b)"
                   "(defun fromConstant \"0\" () () (keeper 7))"));
  EXPECT_EQ(call("fromLocal"), "5");
  EXPECT_EQ(call("fromEmpty"), "none") << "a let on an empty parameter slot stays in the callee";
  EXPECT_EQ(call("fromConstant"), "7");
  EXPECT_EQ(call("fromConstant"), "5") << "the calling node's constant was changed by the first call";
}

// An argument that names a variable passes the value the variable held at
// its place in the list, even when a later argument's loop replaces it.
TEST_F(CallTest, ArgumentsPassTheValueAVariableHeldWhereTheyStand) {
  ASSERT_TRUE(load("(defun probe \"0\" () (x) (let x \"a\") (+ x (begin (for x 1 2 1 0) \"b\")))"));
  EXPECT_EQ(call("probe"), "\"ab\"") << log_.text();
}

TEST_F(CallTest, ResultsAreCopies) {
  ASSERT_TRUE(load("(defun one \"0\" () () 1) (defun echo \"0\" (a) () a)"));
  ValuePtr first = callForValue("one");
  ASSERT_NE(asNumber(first.get()), nullptr);
  first->add(CDoubleValue(5));
  EXPECT_EQ(call("one"), "1");
  CStringValue argument("kept");
  ValuePtr echoed = callForValue("echo", {&argument});
  ASSERT_NE(echoed.get(), &argument);
  EXPECT_EQ(literal(*echoed), "\"kept\"");
}

TEST_F(CallTest, RecursionComputesFibonacci) {
  ASSERT_TRUE(load("(defun fib \"0\" (n) () (if (< n 2) n (+ (fib (- n 1)) (fib (- n 2)))))"));
  CDoubleValue ten(10);
  EXPECT_EQ(call("fib", {&ten}), "55");
}

TEST_F(CallTest, WrongNumberOfParametersIsARuntimeError) {
  ASSERT_TRUE(load("(defun g \"0\" (a) () a) (defun h \"0\" () () (g 1 2))"));
  EXPECT_EQ(function("h")->execute(nullptr, nullptr, 0), 0);
  EXPECT_EQ(count("GNVCFL runtime error: Wrong number of parameters ."), 1);
  EXPECT_FALSE(net_.runtimeOk());
}

TEST_F(CallTest, ExecuteTruncatesTheValue) {
  ASSERT_TRUE(load("(defun low \"0\" () () 0.9) (defun negative \"0\" () () -1.5) (defun nothing \"0\" () ()"
                   " (MathEval)) (defun empty \"0\" () ())"));
  EXPECT_EQ(function("low")->execute(nullptr, nullptr, 0), 0);
  EXPECT_EQ(function("negative")->execute(nullptr, nullptr, 0), -1);
  EXPECT_EQ(function("nothing")->execute(nullptr, nullptr, 0), 0);
  EXPECT_EQ(function("empty")->execute(nullptr, nullptr, 0), 0);
  EXPECT_TRUE(net_.runtimeOk());
  EXPECT_EQ(count("***Call stack entry:\n"), 0);
}

TEST_F(CallTest, ANonNumericResultIsARuntimeError) {
  ASSERT_TRUE(load("(defun vector \"0\" () () [1 2])"));
  testing::internal::CaptureStderr();
  EXPECT_EQ(function("vector")->execute(nullptr, nullptr, 0), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "\t\t0: 1 2\n\n");
  EXPECT_NE(log_.text().find("GNVCFL runtime error: the value of the function is not a number."), std::string::npos);
  EXPECT_FALSE(net_.runtimeOk());
  EXPECT_EQ(count("***Call stack entry:\n"), 1);
}

TEST_F(CallTest, OneCallStackEntryNamingTheFunctionTheNetCalled) {
  ASSERT_TRUE(load("(defun inner \"0\" () () (abs \"x\")) (defun middle \"0\" () () (inner))"
                   "(defun outer \"0\" () () (middle) 1)"));
  testing::internal::CaptureStderr();
  EXPECT_EQ(function("outer")->execute(nullptr, nullptr, 0), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "\t\t0: x\n\n");
  std::vector<std::string> messages = log_.messages();
  ASSERT_EQ(count("***Call stack entry:\n"), 1) << log_.text();
  auto entry = std::find(messages.begin(), messages.end(), "***Call stack entry:\n");
  ASSERT_NE(entry + 1, messages.end());
  EXPECT_EQ(*(entry + 1), "outer");
  EXPECT_EQ(entry + 2, messages.end());
  const std::string banner = "\n\n\n" + std::string(34, '-') + "Terminated";
  EXPECT_EQ(std::count_if(messages.begin(), messages.end(),
                          [&](const std::string& message) { return message.starts_with(banner); }),
            1);
  EXPECT_FALSE(net_.runtimeOk());
}

TEST_F(CallTest, NestedCallsSeeTheNetCallsTokenAndTime) {
  CToken* seven = token("T1", 7);
  ASSERT_TRUE(load("(defun innerToken \"0\" () () token) (defun outerToken \"0\" () () (innerToken))"
                   "(defun innerObject \"0\" () () tokenobj) (defun outerObject \"0\" () () (innerObject))"
                   "(defun innerTime \"0\" () () time) (defun outerTime \"0\" () () (+ 1 (innerTime)))"));
  EXPECT_EQ(function("outerToken")->execute(seven, nullptr, 0), 7);
  ValuePtr object = callForValue("outerObject", {}, seven);
  ASSERT_NE(asObject(object.get()), nullptr);
  EXPECT_EQ(asObject(object.get())->target(), seven);
  EXPECT_EQ(function("outerTime")->execute(nullptr, nullptr, 0), net_.time() + 1);
  EXPECT_TRUE(net_.runtimeOk());
}

TEST_F(CallTest, TokenWithoutACurrentTokenIsARuntimeError) {
  auto bare = std::make_unique<CToken>(net_);
  CToken* withoutCharacteristics = net_.adoptToken(std::move(bare));
  ASSERT_TRUE(load("(defun reader \"0\" () () token)"));
  EXPECT_EQ(function("reader")->execute(nullptr, nullptr, 0), 0);
  EXPECT_NE(log_.text().find("GNVCFL runtime error: \"token\" used in a call for no token."), std::string::npos);
  EXPECT_EQ(function("reader")->execute(withoutCharacteristics, nullptr, 0), 0);
  EXPECT_NE(log_.text().find("GNVCFL runtime error: \"token\" used for a token without characteristics."),
            std::string::npos);
  EXPECT_EQ(count("***Call stack entry:\n"), 2);
}

TEST_F(CallTest, EndlessRecursionStopsWithARuntimeError) {
  ASSERT_TRUE(load("(defun forever \"0\" (n) () (forever (+ n 1)))"));
  CDoubleValue zero(0);
  CTypedValue* arguments[] = {&zero};
  EXPECT_EQ(function("forever")->execute(nullptr, arguments, 1), 0);
  EXPECT_NE(log_.text().find("GNVCFL runtime error: expressions and calls nested deeper than 2000."),
            std::string::npos);
  EXPECT_EQ(count("***Call stack entry:\n"), 1);
}

TEST_F(CallTest, FunctionObjectsNeedAToken) {
  CToken* one = token("T1", 1);
  ASSERT_TRUE(load("(defun check \"0\" () () (ID) 1)"));
  EXPECT_EQ(function("check")->execute(one, nullptr, 0), 1);
  EXPECT_TRUE(net_.runtimeOk());
  EXPECT_EQ(function("check")->execute(nullptr, nullptr, 0), 0);
  EXPECT_TRUE(log_.contains("GNVCFL runtime error: function object called for no token:"));
  EXPECT_TRUE(log_.contains("ID"));
  EXPECT_FALSE(net_.runtimeOk());
}

TEST_F(CallTest, AFailingNativeFunctionObjectClearsRuntimeOk) {
  CToken* one = token("T1", 1);
  auto refuse = [](CCharacteristic*, const CFunction&, int) { return 0; };
  CBuiltInFunction* refusing = CBuiltInFunction::create(net_, "Refuse", refuse, "0");
  ASSERT_NE(refusing, nullptr);
  EXPECT_TRUE(isDefined("Refuse"));
  ASSERT_TRUE(refusing->bind());
  EXPECT_EQ(refusing->execute(one, nullptr, 0), 0);
  EXPECT_FALSE(net_.runtimeOk());
}

}  // namespace
