// The matlab built-in: (matlab name a b ...) writes the arguments to a
// temporary file, runs the adapter Calvix.exe on the m-file name.m of the
// working directory, and reads the outputs back from a second temporary file.
// Thread rule: runs on the calling net's thread and blocks it until the
// adapter ends; the temporary files are created exclusively, so concurrent
// calls never share one.
#include "builtins/BuiltinFunctions.h"
#include "lang/Value.h"
#include "matlab/AdapterProcess.h"
#include "matlab/ArgumentLines.h"
#include "matlab/ResultLines.h"
#include "matlab/TemporaryFiles.h"
#include "model/AbstractTransition.h"
#include "model/NetRandom.h"

#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kNameExpected = "matlab: at least matlab function name expected.";
constexpr const char* kUnsupportedArgument = "matlab: unsupported argument type.";
constexpr const char* kPluginCrashed = "matlab: plugin crashed.";

// ASCII only, whatever locale the program runs in.
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isNameCharacter(char c) { return isLetter(c) || (c >= '0' && c <= '9') || c == '_'; }

// A MATLAB function name: a letter, then letters, digits and underscores.
// Anything else could not name an m-file function, and would reach the
// engine as part of a statement.
bool isFunctionName(const std::string& name) {
  if (name.empty() || !isLetter(name.front())) return false;
  for (char c : name) {
    if (!isNameCharacter(c)) return false;
  }
  return true;
}

// The arguments file's text, one line per argument after the name; nothing
// (after the report) for an object argument or an overlong line.
std::optional<std::string> argumentsText(int argc, CTypedValue* const* argv, CSimpleInterface& log) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    std::string line;
    if (!appendArgumentExpression(line, argv[i])) {
      reportPrimitiveError(log, kUnsupportedArgument, argc, argv);
      return std::nullopt;
    }
    if (line.size() > kMaxArgumentLine) {
      reportPrimitiveError(
          log, "matlab: argument longer than " + std::to_string(kMaxArgumentLine) + " characters refused.", argc, argv);
      return std::nullopt;
    }
    text += line + "\n";
  }
  return text;
}

// The net's generator; a call without a net (unit tests) uses one per thread.
NetRandom& randomFor(const PrimitiveContext& context) {
  thread_local NetRandom fallback;
  return context.net != nullptr ? context.net->random() : fallback;
}

std::string workingDirectory() {
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

struct CallFiles {
  TemporaryFile arguments;  // open until the arguments are written
  std::string resultPath;
};

// Draws both names and creates both files, before anything else can fail, so
// that a seeded run draws the same numbers whatever the arguments; nothing
// after the report.
std::optional<CallFiles> createFiles(NetRandom& random, int argc, CTypedValue* const* argv, CSimpleInterface& log) {
  std::string folder = temporaryFolder();
  std::string error;
  auto argumentsFile = createTemporaryFile(folder, "GNVanterMatlabArgs", random, error);
  auto resultFile = argumentsFile ? createTemporaryFile(folder, "GNVanterMatlabResult", random, error) : std::nullopt;
  if (!resultFile) {
    reportPrimitiveError(log, "matlab: " + error + ".", argc, argv);
    return std::nullopt;
  }
  return CallFiles{std::move(*argumentsFile), resultFile->path};
}

// Writes and closes the arguments file; false after the report.
bool writeArguments(CallFiles& files, const std::string& text, int argc, CTypedValue* const* argv,
                    CSimpleInterface& log) {
  if (writeAll(files.arguments.file.get(), text) && files.arguments.file.close()) return true;
  reportPrimitiveError(log, "matlab: cannot write " + files.arguments.path + ".", argc, argv);
  return false;
}

bool runFunction(const std::string& name, const CallFiles& files) {
  std::string workingFolder = workingDirectory();
  auto adapter = findAdapter({workingFolder, programFolder()});
  return adapter && runAdapter(*adapter, {workingFolder, name, files.resultPath, files.arguments.path});
}

}  // namespace

VANTER_PRIMITIVE(primitiveMatlab) {
  (void)currentCharacteristic;
  const CStringValue* name = argc >= 1 ? asString(argv[0]) : nullptr;
  if (name == nullptr || !isFunctionName(name->text())) return reportPrimitiveError(log, kNameExpected, argc, argv);
  auto files = createFiles(randomFor(context), argc, argv, log);
  if (!files) return 0;
  auto arguments = argumentsText(argc, argv, log);
  if (!arguments || !writeArguments(*files, *arguments, argc, argv, log)) return 0;
  if (!runFunction(name->text(), *files)) return reportPrimitiveError(log, kPluginCrashed, argc, argv);
  std::ifstream results(files->resultPath);
  result.adopt(readResults(results));
  if (result == nullptr) return reportPrimitiveError(log, valueLimitMessage("matlab: the results"), argc, argv);
  return 1;
}
