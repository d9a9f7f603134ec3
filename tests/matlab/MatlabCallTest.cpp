// The matlab built-in called with values, in a working directory of its own:
// real m-files run through the real Calvix.exe (found beside this test
// program), and stand-in adapters in the working directory for the failures.
#include "builtins/BuiltinFunctions.h"
#include "lang/Value.h"

#include "RecordingLog.h"
#include "TestFolder.h"

#include <unistd.h>

#include <filesystem>
#include <vector>

namespace {

namespace fs = std::filesystem;

ValuePtr number(double value) { return std::make_unique<CDoubleValue>(value); }
ValuePtr text(std::string value) { return std::make_unique<CStringValue>(std::move(value)); }
ValuePtr numbers(std::initializer_list<double> values) {
  auto vector = std::make_unique<CVectorValue>(0);
  for (double value : values) vector->append(number(value));
  return vector;
}
template <typename... Values>
std::vector<ValuePtr> values(Values... items) {
  std::vector<ValuePtr> list;
  (list.push_back(std::move(items)), ...);
  return list;
}

double numberOf(const CTypedValue* value) {
  const CDoubleValue* number = asNumber(value);
  EXPECT_NE(number, nullptr);
  return number ? number->number() : -1;
}

class MatlabCallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = fs::current_path();
    fs::current_path(folder_.path());
  }
  void TearDown() override { fs::current_path(previous_); }

  // Runs (matlab args...); keeps the result in result_ and the log in log_.
  bool call(std::vector<ValuePtr> args) {
    std::vector<CTypedValue*> argv;
    for (auto& arg : args) argv.push_back(arg.get());
    result_.reset();
    PrimitiveContext context{nullptr, nullptr};
    return primitiveMatlab(static_cast<int>(argv.size()), result_, argv.data(), nullptr, log_, context) != 0;
  }

  void mFile(const std::string& name, const std::string& body) { writeText(folder_.file(name + ".m"), body); }

  // The temporary files left in the folder, by their stem.
  std::vector<std::string> leftFiles(const std::string& stem) const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder_.path())) {
      std::string name = entry.path().filename().string();
      if (name.starts_with(stem)) found.push_back(entry.path().string());
    }
    return found;
  }

  TestFolder folder_;
  ScopedVariable temp_{"TEMP", folder_.path().c_str()};
  fs::path previous_;
  ValueSlot result_;
  RecordingLog log_;
};

TEST_F(MatlabCallTest, DoublingFunctionGivesFour) {
  mFile("twice", "function r = twice(x)\n  r = 2 * x;\nend\n");
  ASSERT_TRUE(call(values(text("twice"), number(2)))) << log_.text();
  EXPECT_EQ(numberOf(result_.get()), 4);
  auto arguments = leftFiles("GNVanterMatlabArgs");
  ASSERT_EQ(arguments.size(), 1u);
  EXPECT_EQ(readText(arguments.front()), "2.000000\n");
  auto results = leftFiles("GNVanterMatlabResult");
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(readText(results.front()), "4\n");
}

TEST_F(MatlabCallTest, StringResultAndAQuoteArrivingIntact) {
  mFile("echoed", "function r = echoed(s)\n  r = ['<' s '>'];\nend\n");
  ASSERT_TRUE(call(values(text("echoed"), text("it's")))) << log_.text();
  const CStringValue* string = asString(result_.get());
  ASSERT_NE(string, nullptr);
  EXPECT_EQ(string->text(), "<it's>");
}

TEST_F(MatlabCallTest, ControlCharactersInAStringArriveIntact) {
  mFile("codes", "function r = codes(s)\n  r = double(s);\nend\n");
  ASSERT_TRUE(call(values(text("codes"), text("a\nb\t")))) << log_.text();
  const CVectorValue* codes = asVector(result_.get());
  ASSERT_NE(codes, nullptr);
  ASSERT_EQ(codes->count(), 4);
  const double expected[] = {'a', '\n', 'b', '\t'};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(numberOf(codes->elementAt(i)), expected[i]) << i;
}

TEST_F(MatlabCallTest, TwoOutputsGiveAVector) {
  mFile("pair", "function [a, b] = pair()\n  a = 1;\n  b = 'two';\nend\n");
  ASSERT_TRUE(call(values(text("pair")))) << log_.text();
  const CVectorValue* outputs = asVector(result_.get());
  ASSERT_NE(outputs, nullptr);
  ASSERT_EQ(outputs->count(), 2);
  EXPECT_EQ(numberOf(outputs->elementAt(0)), 1);
  ASSERT_NE(asString(outputs->elementAt(1)), nullptr);
  EXPECT_EQ(asString(outputs->elementAt(1))->text(), "two");
}

TEST_F(MatlabCallTest, NoOutputsGiveAnEmptyVector) {
  mFile("nothing", "function [] = nothing(x)\n  y = x;\nend\n");
  ASSERT_TRUE(call(values(text("nothing"), number(1)))) << log_.text();
  const CVectorValue* outputs = asVector(result_.get());
  ASSERT_NE(outputs, nullptr);
  EXPECT_EQ(outputs->count(), 0);
}

TEST_F(MatlabCallTest, AMatrixArgumentComesBackAsRows) {
  mFile("flip", "function m = flip(a)\n  m = a';\nend\n");
  auto matrix = std::make_unique<CVectorValue>(0);
  matrix->append(numbers({1, 2}));
  matrix->append(numbers({3, 4}));
  ASSERT_TRUE(call(values(text("flip"), ValuePtr(std::move(matrix))))) << log_.text();
  const CVectorValue* rows = asVector(result_.get());
  ASSERT_NE(rows, nullptr);
  ASSERT_EQ(rows->count(), 2);
  const CVectorValue* first = asVector(rows->elementAt(0));
  const CVectorValue* second = asVector(rows->elementAt(1));
  ASSERT_TRUE(first && second && first->count() == 2 && second->count() == 2);
  EXPECT_EQ(numberOf(first->elementAt(1)), 3);
  EXPECT_EQ(numberOf(second->elementAt(0)), 2);
}

// A bad name is refused before anything is drawn; the arguments are checked
// after both file names were drawn and their files made.
TEST_F(MatlabCallTest, ABadNameIsRefusedBeforeTheFilesAndABadArgumentAfterThem) {
  CObjectValue object;
  struct Row {
    const char* name;
    std::vector<ValuePtr> args;
    const char* message;
  };
  Row rows[] = {
      {"no argument", values(), "matlab: at least matlab function name expected."},
      {"a number first", values(number(5)), "matlab: at least matlab function name expected."},
      {"a statement for a name", values(text("disp(1);f")), "matlab: at least matlab function name expected."},
      {"a name starting with a digit", values(text("1f")), "matlab: at least matlab function name expected."},
      {"a name with a Latin-1 letter", values(text("caf\xe9")), "matlab: at least matlab function name expected."},
      {"an object argument", values(text("f"), number(1), object.clone()), "matlab: unsupported argument type."},
      {"an overlong argument", values(text("f"), text(std::string(65535, 'x'))),
       "matlab: argument longer than 65535 characters refused."},
  };
  for (auto& row : rows) {
    log_.reset();
    EXPECT_FALSE(call(std::move(row.args))) << row.name;
    EXPECT_NE(log_.text().find(row.message), std::string::npos) << row.name << ": " << log_.text();
    EXPECT_EQ(result_, nullptr) << row.name;
  }
  EXPECT_EQ(leftFiles("GNVanterMatlab").size(), 4u);  // two files for each argument row
}

TEST_F(MatlabCallTest, AnAdapterThatFailsIsAPluginCrash) {
  writeText(folder_.file("Calvix.exe"), "#!/bin/sh\nexit 1\n", true);
  EXPECT_FALSE(call(values(text("f"), number(1))));
  EXPECT_NE(log_.text().find("matlab: plugin crashed."), std::string::npos) << log_.text();
  EXPECT_EQ(result_, nullptr);
}

TEST_F(MatlabCallTest, TheWorkingDirectoryAdapterComesFirstAndGetsTheFourArguments) {
  std::string record = folder_.file("argv.txt");
  writeText(folder_.file("Calvix.exe"),
            "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + record + "\"\nprintf \"'fake'\\n\" > \"$3\"\n", true);
  ASSERT_TRUE(call(values(text("f"), number(1)))) << log_.text();
  ASSERT_NE(asString(result_.get()), nullptr);
  EXPECT_EQ(asString(result_.get())->text(), "fake");
  std::string expected = fs::current_path().string() + "\nf\n" + leftFiles("GNVanterMatlabResult").at(0) + "\n" +
                         leftFiles("GNVanterMatlabArgs").at(0) + "\n";
  EXPECT_EQ(readText(record), expected);
}

TEST_F(MatlabCallTest, AnEmptyResultFileAfterASuccessfulRunIsAnEmptyVector) {
  writeText(folder_.file("Calvix.exe"), "#!/bin/sh\nrm -f \"$3\"\n", true);
  ASSERT_TRUE(call(values(text("f"))));
  const CVectorValue* outputs = asVector(result_.get());
  ASSERT_NE(outputs, nullptr);
  EXPECT_EQ(outputs->count(), 0);
}

}  // namespace
