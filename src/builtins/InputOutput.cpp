// The input and output built-ins: print and newline on the standard streams,
// fread on a frame's file, and message, input and input-str through the
// user-interface services. Thread rule: run on the thread of the calling net;
// each write to a standard stream is one call, so lines are not interleaved.
#include "builtins/Arguments.h"
#include "builtins/BuiltinFunctions.h"
#include "base/SimpleInterface.h"
#include "base/UserServices.h"
#include "lang/Reader.h"
#include "lang/Value.h"

#include <cctype>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

namespace {

// fread keeps at most this many characters of a word; the rest of a longer word is skipped.
constexpr std::size_t kMaxWord = 99;
// A message text holds at most this many characters; the rest is cut.
constexpr std::size_t kMaxMessageText = 1999;

void printValue(std::ostream& out, const CTypedValue* value) {
  if (value == nullptr) return;
  if (const CObjectValue* object = asObject(value)) {
    if (object->target() != nullptr) {
      object->target()->print(out);
    } else {
      out << "<OBJECT>";
    }
    return;
  }
  value->writeText(out);
}

// The next whitespace-delimited word of `file`, cut to kMaxWord characters;
// empty at the end of the file.
std::string readWord(std::FILE* file) {
  int c = std::getc(file);
  while (c != EOF && std::isspace(c)) c = std::getc(file);
  std::string word;
  for (; c != EOF && !std::isspace(c); c = std::getc(file)) {
    if (word.size() < kMaxWord) word += static_cast<char>(c);
  }
  if (c != EOF) std::ungetc(c, file);
  return word;
}

// Appends one message argument: a string's text, a number as "%lf", any
// other value its text form.
void appendMessagePart(std::string& text, const CTypedValue* value) {
  if (value == nullptr) return;
  if (const CDoubleValue* number = asNumber(value)) {
    char formatted[400];
    std::snprintf(formatted, sizeof formatted, "%lf", number->number());
    text += formatted;
  } else if (const CStringValue* string = asString(value)) {
    text += string->text();
  } else {
    appendText(text, *value);
  }
}

}  // namespace

// A token report needs the token: a reference to one that has left the net fails.
VANTER_PRIMITIVE(primitivePrint) {
  (void)currentCharacteristic;
  (void)context;
  for (int i = 0; i < argc; ++i) {
    if (const Lifeline* gone = departedTarget(argv[i])) {
      return reportPrimitiveError(log, "print: " + departedMessage(*gone), argc, argv);
    }
  }
  std::ostringstream line;
  for (int i = 0; i < argc; ++i) {
    printValue(line, argv[i]);
    line << '\t';
  }
  line << '\n';
  log.flush();  // the headless log shares standard output: what it was given comes first
  std::cout << line.str() << std::flush;
  giveNumber(result, 1.0);
  return 1;
}

VANTER_PRIMITIVE(primitiveNewline) {
  (void)argc;
  (void)result;
  (void)argv;
  (void)currentCharacteristic;
  (void)log;
  (void)context;
  std::cerr << '\n';
  return 1;
}

VANTER_PRIMITIVE(primitiveFread) {
  (void)currentCharacteristic;
  (void)context;
  Arguments args(argc, argv, log);
  auto* handle = argc == 1 ? static_cast<CFilePtr*>(objectOfKind(argv[0], kKindFile)) : nullptr;
  if (handle == nullptr) return args.fail("fread: file handle expected");
  if (handle->file() == nullptr) return args.fail("fread: the file of this handle could not be opened");
  std::string word = readWord(handle->file());
  if (word.empty()) {
    giveNumber(result, 0.0);
    return 1;
  }
  result.adopt(literalValue(word));
  if (result == nullptr) return args.fail(valueLimitMessage("fread: the word " + word));
  return 1;
}

VANTER_PRIMITIVE(primitiveMessage) {
  (void)currentCharacteristic;
  (void)context;
  std::string text;
  for (int i = 0; i < argc && text.size() < kMaxMessageText; ++i) appendMessagePart(text, argv[i]);
  if (text.size() > kMaxMessageText) text.resize(kMaxMessageText);
  userServices().showMessage(log, text);
  giveNumber(result, 1.0);
  return 1;
}

VANTER_PRIMITIVE(primitiveInput) {
  (void)currentCharacteristic;
  (void)context;
  Arguments args(argc, argv, log);
  if (!args.match("s") && !args.match("sn"))
    return args.fail("input: one string [and on double] argument expected");
  double defaultValue = argc == 2 ? args.number(1) : 0.0;
  giveNumber(result, userServices().askNumber(log, args.text(0), defaultValue));
  return 1;
}

VANTER_PRIMITIVE(primitiveInputStr) {
  (void)currentCharacteristic;
  (void)context;
  Arguments args(argc, argv, log);
  if (!args.match("s")) return args.fail("input: one string argument expected");
  std::string answer = userServices().askText(log, args.text(0));
  if (answer.size() > kMaxInputText) answer.resize(kMaxInputText);
  result.adopt(std::make_unique<CStringValue>(std::move(answer)));
  return 1;
}
