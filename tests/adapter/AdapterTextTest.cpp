// The adapter's text rules: the output-count scan, the statements it sends,
// and the m-file path.
#include "adapter/OutputCount.h"
#include "adapter/Statements.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

struct CountRow {
  const char* name;
  const char* line;
  std::optional<int> expected;
};

TEST(BracketedOutputCount, CountsNamesBetweenTheBracketsBeforeTheEquals) {
  const CountRow rows[] = {
      {"header with two names", "function [s, p] = f(a, b)", 2},
      {"commas and spaces mixed", "[a, b c] = f(x)", 3},
      {"spaces inside the brackets", "[  a ,b  ] = f", 2},
      {"empty brackets", "[] = f", 0},
      {"only separators", "[ , ] = f", 0},
      {"no brackets", "function r = g(x)", std::nullopt},
      {"equals before the bracket", "x = [1 2 3];", std::nullopt},
      {"no equals", "disp([1 2])", std::nullopt},
      {"no closing bracket", "[a, b = f", std::nullopt},
      {"body line", "  [m, n, k] = size(A);", 3},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(bracketedOutputCount(row.line), row.expected) << row.name;
  }
}

TEST(CountOutputs, TheLastMatchingLineWinsAndCommentLinesAreSkipped) {
  struct Row {
    const char* name;
    const char* text;
    int expected;
  };
  const Row rows[] = {
      {"no header brackets", "function r = g(x)\n  r = 2 * x;\n", 1},
      {"two outputs", "function [s, p] = f(a, b)\n  s = a + b;\n  p = a * b;\n", 2},
      {"body line resets", "function r = g(A)\n  [m, n, k] = size(A);\n  r = m;\n", 3},
      {"comment line ignored", "function [a] = g()\n%[x,y] =\n  a = 1;\n", 1},
      {"trailing comment scanned", "function r = g()\n r = 1; % [x, y] = stays\n", 1},
      {"code then comment with brackets", "function r = g()\n[u, v] = deal(1, 2); % two\n", 2},
      {"no outputs", "function [] = g(x)\n  disp(x);\n", 0},
      {"empty file", "", 1},
      {"windows line ends", "function [a, b] = g()\r\n  a = 1;\r\n", 2},
  };
  for (const auto& row : rows) {
    std::istringstream in(row.text);
    EXPECT_EQ(countOutputs(in), row.expected) << row.name;
  }
}

TEST(CountOutputs, AnOverlongLineEndsTheScan) {
  std::string text = "function [a, b] = g()\n% " + std::string(kMaxMFileLine, 'x') + "\n[p, q, r] = deal(1, 2, 3);\n";
  std::istringstream in(text);
  EXPECT_EQ(countOutputs(in), 2);
}

TEST(CallStatement, ListsOutputsAndInputs) {
  struct Row {
    int outputs;
    int arguments;
    const char* expected;
  };
  const Row rows[] = {
      {1, 1, "Y0 = f(X0);"},       {2, 2, "[Y0,Y1] = f(X0,X1);"}, {0, 0, "[Y0] = f();"},
      {3, 0, "[Y0,Y1,Y2] = f();"}, {1, 3, "Y0 = f(X0,X1,X2);"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(callStatement("f", row.outputs, row.arguments), row.expected) << row.outputs << "/" << row.arguments;
  }
}

TEST(Statements, AssignmentsConversionsAndFolderChange) {
  EXPECT_EQ(argumentStatement(12, "[1.000000 2.000000 ]"), "X12 = [1.000000 2.000000 ]");
  EXPECT_EQ(mat2strStatement(3), "Y3 = mat2str(Y3);");
  EXPECT_EQ(cdStatement("/tmp/a b"), "cd('/tmp/a b');");
  EXPECT_EQ(cdStatement("/tmp/it's"), "cd('/tmp/it''s');");
}

TEST(MFilePath, JoinsWithASlashUnlessTheFolderEndsInOne) {
  EXPECT_EQ(mFilePath("/m", "f"), "/m/f.m");
  EXPECT_EQ(mFilePath("/m/", "f"), "/m/f.m");
  EXPECT_EQ(mFilePath("C:\\m\\", "f"), "C:\\m\\f.m");
}

TEST(MFilePath, RefusesAPathOverTheLimit) {
  std::string name(kMaxMFilePath - std::string("/m/.m").size(), 'n');
  EXPECT_EQ(mFilePath("/m", name)->size(), kMaxMFilePath);
  EXPECT_EQ(mFilePath("/m", name + "n"), std::nullopt);
}

}  // namespace
