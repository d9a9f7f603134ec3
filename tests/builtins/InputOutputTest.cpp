// The input and output built-ins called directly: standard streams, fread on
// a real file, and the requests that message, input and input-str make of
// the user-interface services (scripted, and the unattended answers).
#include "PlotRecordingServices.h"
#include "PlotCall.h"

#include "builtins/BuiltinFunctions.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

// A file with `text` in it, read from the start; closed by its CFilePtr.
std::unique_ptr<CFilePtr> fileWith(const std::string& text) {
  std::FILE* file = std::tmpfile();
  std::fputs(text.c_str(), file);
  std::rewind(file);
  return std::make_unique<CFilePtr>(file);
}

std::string stdoutOf(Call call, PrimitiveFunction function, Outcome& outcome) {
  testing::internal::CaptureStdout();
  outcome = call.run(function);
  return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(PrintBuiltin, WritesEachValueAndATabThenALineFeedToStandardOutput) {
  CBaseObject plain;
  auto vector = vec({1, 2});
  const std::string vectorText = textOf(*vector);
  Outcome outcome;
  std::string out = stdoutOf(Call(num(1.5), str("a b"), std::move(vector), obj(&plain), obj(nullptr)),
                             primitivePrint, outcome);
  EXPECT_EQ(out, "1.5\ta b\t" + vectorText + "\t<OBJECT>\t<OBJECT>\t\n");
  EXPECT_EQ(outcome.number(), 1.0);
  EXPECT_TRUE(outcome.log.empty()) << "nothing goes to the log";
  EXPECT_EQ(stdoutOf(Call(), primitivePrint, outcome), "\n");
}

TEST(NewlineBuiltin, WritesALineFeedToStandardErrorAndGivesNoValue) {
  Outcome outcome;
  std::string out = stdoutOf(Call(num(1)), primitiveNewline, outcome);
  EXPECT_TRUE(outcome.ok);
  EXPECT_EQ(outcome.result, nullptr);
  EXPECT_EQ(outcome.errors, "\n");
  EXPECT_EQ(out, "");
}

TEST(FreadBuiltin, ReadsOneWordPerCallAsALiteralAndZeroAtTheEnd) {
  auto file = fileWith("12  \"abc\"\n[3] plain");
  const std::string expected[] = {"12", "\"abc\"", "[3]", "\"plain\"", "0", "0"};
  for (const std::string& literalForm : expected) {
    SCOPED_TRACE(literalForm);
    Outcome outcome = Call(obj(file.get())).run(primitiveFread);
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(literal(outcome.result.get()), literalForm);
  }
}

// Regression: a word longer than the 100-byte buffer was written past it.
TEST(FreadBuiltin, CutsAWordToNinetyNineCharactersAndSkipsTheRest) {
  auto file = fileWith(std::string(150, 'w') + " next");
  Outcome first = Call(obj(file.get())).run(primitiveFread);
  const CStringValue* word = asString(first.result.get());
  ASSERT_NE(word, nullptr);
  EXPECT_EQ(word->text(), std::string(99, 'w'));
  EXPECT_EQ(literal(Call(obj(file.get())).run(primitiveFread).result.get()), "\"next\"");
}

TEST(FreadBuiltin, RefusesWhatIsNotAnOpenFileHandle) {
  CBaseObject plain;
  CFilePtr unopened(nullptr);
  struct Row {
    const char* label;
    std::function<Call()> call;
    std::string message;
  };
  const Row rows[] = {
      {"no argument", [] { return Call(); }, "fread: file handle expected"},
      {"a number", [] { return Call(num(1)); }, "fread: file handle expected"},
      {"another object", [&] { return Call(obj(&plain)); }, "fread: file handle expected"},
      {"no value", [] { return Call().missing(); }, "fread: file handle expected"},
      {"a handle whose file did not open", [&] { return Call(obj(&unopened)); },
       "fread: the file of this handle could not be opened"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    Outcome outcome = row.call().run(primitiveFread);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message(), row.message);
  }
}

TEST(MessageBuiltin, JoinsStringsAndNumbersAndShowsThemOnce) {
  RecordingServices services;
  ServicesScope scope(services);
  Outcome outcome = Call(str("x ="), num(2), str("|"), vec({1, 2})).run(primitiveMessage);
  EXPECT_EQ(outcome.number(), 1.0);
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0], "x =2.000000|" + textOf(*vec({1, 2})));
}

// Regression: a message text over 1999 characters was written past its 2000-byte buffer.
TEST(MessageBuiltin, CutsTheTextToNineteenNinetyNineCharacters) {
  RecordingServices services;
  ServicesScope scope(services);
  Call(str(std::string(1500, 'a')), str(std::string(1500, 'b')), num(1)).run(primitiveMessage);
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0], std::string(1500, 'a') + std::string(499, 'b'));
}

TEST(InputBuiltin, AsksWithThePromptAndDefaultAndGivesTheAnswer) {
  RecordingServices services;
  services.numberAnswer = 7.25;
  ServicesScope scope(services);
  Outcome withDefault = Call(str("Speed?"), num(5)).run(primitiveInput);
  Outcome withoutDefault = Call(str("Size?")).run(primitiveInput);
  EXPECT_EQ(withDefault.number(), 7.25);
  EXPECT_EQ(withoutDefault.number(), 7.25);
  EXPECT_EQ(services.prompts, (std::vector<std::string>{"Speed?", "Size?"}));
  EXPECT_EQ(services.defaults, (std::vector<double>{5.0, 0.0}));
}

TEST(InputBuiltin, RefusesAnythingButAPromptAndAnOptionalNumber) {
  RecordingServices services;
  ServicesScope scope(services);
  const char* input = "input: one string [and on double] argument expected";
  const char* inputStr = "input: one string argument expected";
  struct Row {
    const char* label;
    PrimitiveFunction function;
    std::function<Call()> call;
    const char* message;
  };
  const Row rows[] = {
      {"input with a number only", primitiveInput, [] { return Call(num(1)); }, input},
      {"input with two strings", primitiveInput, [] { return Call(str("a"), str("b")); }, input},
      {"input with nothing", primitiveInput, [] { return Call(); }, input},
      {"input with three arguments", primitiveInput, [] { return Call(str("a"), num(1), num(2)); }, input},
      {"input with a missing prompt", primitiveInput, [] { return Call().missing(); }, input},
      {"input-str with a number", primitiveInputStr, [] { return Call(num(1)); }, inputStr},
      {"input-str with two strings", primitiveInputStr, [] { return Call(str("a"), str("b")); }, inputStr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    Outcome outcome = row.call().run(row.function);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message(), row.message);
  }
  EXPECT_TRUE(services.prompts.empty()) << "no one is asked after a refusal";
}

TEST(InputStrBuiltin, GivesTheAnswerCutToNineHundredNinetyNineCharacters) {
  RecordingServices services;
  ServicesScope scope(services);
  services.textAnswer = "hello";
  EXPECT_EQ(literal(Call(str("Name?")).run(primitiveInputStr).result.get()), "\"hello\"");
  services.textAnswer = std::string(2000, 'z');
  Outcome longAnswer = Call(str("Name?")).run(primitiveInputStr);
  ASSERT_NE(asString(longAnswer.result.get()), nullptr);
  EXPECT_EQ(asString(longAnswer.result.get())->text(), std::string(999, 'z'));
}

TEST(UnattendedServices, AnswerDefaultsAndWriteMessagesToTheLog) {
  // No services installed: the answers of a program without a screen.
  Outcome number = Call(str("Speed?"), num(5)).run(primitiveInput);
  EXPECT_EQ(number.number(), 5.0);
  ASSERT_EQ(number.log.size(), 1u);
  EXPECT_EQ(number.log[0], "input: no one to ask \"Speed?\"; answering the default 5");

  Outcome text = Call(str("Name?")).run(primitiveInputStr);
  EXPECT_EQ(literal(text.result.get()), "\"\"");
  ASSERT_EQ(text.log.size(), 1u);
  EXPECT_EQ(text.log[0], "input-str: no one to ask \"Name?\"; answering the empty text");

  Outcome message = Call(str("x ="), num(2)).run(primitiveMessage);
  EXPECT_EQ(message.log, (std::vector<std::string>{"message: no screen to show it on; its text follows", "x =2.000000"}));
}
