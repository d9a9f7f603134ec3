// Parsing definitions: what is accepted, the local table, and every syntax
// message (the arity message on standard error, the others in the log).
#include "LangFixture.h"

namespace {

using ParserTest = LangFixture;

TEST_F(ParserTest, DefinitionsAndTheirLocalTables) {
  ASSERT_TRUE(load("(defun f \"0\" () () 1)\n"
                   "(defun g \"0\" (a) () (+ a 1))\n"
                   "(defun h \"0\" (a b) (c) (let c (+ a b)) c)\n"
                   "(defun twice \"0\" (a) (a) a)\n"
                   "; trailing comment\n  \r\n"));
  EXPECT_EQ(function("f")->localCount(), 0);
  EXPECT_EQ(function("g")->parameterCount(), 1);
  EXPECT_EQ(function("g")->localCount(), 1);
  CExpression* h = function("h");
  EXPECT_EQ(h->parameterCount(), 2);
  EXPECT_EQ(h->localCount(), 3);
  EXPECT_EQ(h->localIndex("c"), 2);
  EXPECT_EQ(function("twice")->localIndex("a"), 0) << "a name listed twice refers to its first position";
  EXPECT_EQ(log_.messages(), (std::vector<std::string>{"f", "g", "h", "twice"})) << "each definition logs its name only";
}

TEST_F(ParserTest, SyntaxErrorsInTheLog) {
  const std::string longName(20, 'n');
  const std::string longFunction(52, 'f');
  const std::string longHead(100, 'h');
  const std::string longToken(200, 'z');
  struct Row {
    std::string source;
    std::string message;
  };
  const Row rows[] = {
      {"(defun f \"0\" () () (g x))", "GNVCFL syntax error: Unknown identifier."},
      {"(defun f \"0\" () () (g abs))", "GNVCFL syntax error: Unknown identifier."},
      {"(defun f \"0\" () () (g #a))", "GNVCFL syntax error: #<number> expected"},
      {"(defun f \"0\" () () (g #))", "GNVCFL syntax error: #<number> expected"},
      {"(defun f \"0\" () (x) (for 1 10 1 x))", "GNVCFL syntax error: Unknown control variable identifier."},
      {"(defun f \"0\" () (i) (for i))", "GNVCFL syntax error: No body in for."},
      {"(defun f \"0\" () (i) (for i 1 2))", "GNVCFL syntax error: for needs from, to and step after its variable."},
      {"(defun f \"0\" () (t) (foreach t on #0 t))", "GNVCFL syntax error : \"in\" expected."},
      {"(defun f \"0\" () (t) (foreach 1 in #0 t))", "GNVCFL syntax error : Local variable expected."},
      {"(defun f \"0\" () (t) (foreach t in #0))", "GNVCFL syntax error : check foreach syntax."},
      {"(defun f \"0\" () (a b) (if a b))", "GNVCFL syntax error : check if syntax."},
      {"(defun f \"0\" () (x) (let x))", "GNVCFL syntax error : check let syntax."},
      {"(defun f \"0\" () (x) (let x 1 2))", "GNVCFL syntax error : check let syntax."},
      {"(defun f \"0\" () (x) (let time 1))", "GNVCFL syntax error : Local variable expected."},
      {"(defun f \"0\" () () (while 1))", "GNVCFL syntax error : check while syntax"},
      {"(defun f \"0\" () () (+ 1 ()))", "GNVCFL syntax error: function name expected."},
      {"(defun f \"0\" () () ((g) 1))", "GNVCFL syntax error: function name expected."},
      {"(defun f \"0\" ((a)) () 1)", "GNVCFL syntax error: nested list among parameters or locals."},
      {"(defun f \"0\" () (" + longName + ") 1)", "GNVCFL syntax error: parameter or local name longer than 19 characters."},
      {"(defun f 0 () () 1)", "GNVCFL syntax error: function frame expected"},
      {"(defn f \"0\" () () 1)", "GNVCFL syntax error: \"defun\" expected."},
      {"x y", "GNVCFL syntax error: '(' expected."},
      {"(defun f \"0\" () x 1)", "GNVCFL syntax error: '(' expected."},
      {"(defun f \"0\" (a b", "GNVCFL syntax error: Unexpected end of file."},
      {"(defun f \"0\" () (a b", "GNVCFL syntax error: Unexpected end of file."},
      {"(defun)", "GNVCFL syntax error: function frame expected"},  // ")" is taken as the name
      {"(defun", "GNVCFL syntax error: function name expected"},
      {"(defun " + longFunction + " \"0\" () () 1)", "GNVCFL syntax error: function name longer than 51 characters."},
      {"(defun f \"0\" () () (" + longHead + " 1))", "GNVCFL syntax error: function name longer than 99 characters."},
      {"(defun f \"0\" () () (g " + longToken + "))",
       "GNVCFL syntax error: token longer than its limit (199 characters, 499 for a function frame)."},
  };
  for (const Row& row : rows) {
    log_.reset();
    CAbstractTransition net;
    net.prepare(&log_, "", "", nullptr);
    loadFunctionSource(net, row.source);
    EXPECT_TRUE(log_.contains(row.message)) << row.source << "\nlog:\n" << log_.text();
    EXPECT_EQ(net.functionsTable().contains("f") &&
                  net.functionsTable().stateAt(net.functionsTable().indexOf("f")) == NameTable::State::Defined,
              false)
        << row.source;
  }
}

TEST_F(ParserTest, DeepNestingIsRefused) {
  std::string body;
  for (int i = 0; i < kMaxParseNesting + 5; ++i) body += "(+ 1 ";
  body += "1" + std::string(kMaxParseNesting + 5, ')');
  loadFunctionSource(net_, "(defun f \"0\" () () " + body + ")");
  EXPECT_TRUE(log_.contains("GNVCFL syntax error: expressions nested deeper than 200."));
  EXPECT_FALSE(isDefined("f"));
}

TEST_F(ParserTest, FrameTokenMayBeLongerThanOtherTokens) {
  std::string frame = "0" + std::string(300, ';');
  ASSERT_TRUE(load("(defun f \"" + frame + "\" () () 1)"));
  EXPECT_TRUE(isDefined("f"));
}

TEST_F(ParserTest, ArityErrorGoesToStandardErrorOnly) {
  testing::internal::CaptureStderr();
  loadFunctionSource(net_, "(defun f \"0\" () () (abs 1 2)) (defun g \"0\" () () (+ 1 2 3))");
  std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(errors, "GNVCFL syntax error: Wrong number of arguments in 'abs'\n");
  EXPECT_FALSE(isDefined("f"));
  EXPECT_TRUE(isDefined("g")) << "+ takes any number of arguments";
  EXPECT_EQ(log_.text().find("Wrong number of arguments"), std::string::npos) << log_.text();
}

TEST_F(ParserTest, LaterDefinitionsLoadAfterAFailedOne) {
  load("(defun bad \"0\" () () (g x)) (defun good \"0\" () () 2)");
  EXPECT_FALSE(isDefined("bad"));
  EXPECT_TRUE(isDefined("good"));
  EXPECT_EQ(call("good"), "2");
}

TEST_F(ParserTest, UnknownWordsAndUndefinedCallsAreReportedByBinding) {
  loadFunctionSource(net_, "(defun f \"0\" () () (time)) (defun g \"0\" () () (h stray))");
  EXPECT_TRUE(isDefined("f")) << "(time) in head position is a call of a user function";
  EXPECT_FALSE(net_.bindAll());
  std::vector<std::string> messages = log_.messages();
  for (const char* name : {"time", "h", "stray"}) {
    auto found = std::find(messages.begin(), messages.end(), name);
    ASSERT_NE(found, messages.end()) << name;
    EXPECT_EQ(*(found - 1), "***Undefined object found:") << name;
  }
}

TEST_F(ParserTest, EmptyTextAndCommentsDefineNothingSilently) {
  for (const char* source : {"", "   \r\n\t", "; just a comment", "(defun f \"0\" () () 1) ; done\n"}) {
    log_.reset();
    std::istringstream in(source);
    EXPECT_TRUE(loadFunctionText(net_, in));
    for (const std::string& message : log_.messages()) EXPECT_EQ(message, "f") << source;
  }
}

}  // namespace
