// The flow of one Calvix run against the engine layer: start and probe the
// engine, change folder, count outputs, define inputs, call, write results.
#include "adapter/Calvix.h"

#include "adapter/Engine.h"
#include "adapter/OutputCount.h"
#include "adapter/Statements.h"
#include "adapter/TextLines.h"

#include <fstream>
#include <iostream>

const char* const kCalvixUsage =
    "Syntax: Tobrin <path to m file> <name of m file without .m> <output file> [<args file> [-d]]";

namespace {

// Lines of the arguments file are read up to this length; a longer one ends the reading.
constexpr std::size_t kMaxArgumentLine = 65535;
// The probe needs this many attempts, the last one successful.
constexpr int kMinProbeAttempts = 3;
// An engine that cannot hold a variable this many times over is taken as not started.
constexpr int kMaxProbeAttempts = 1000;
constexpr double kProbeValue = 5.0;

class CalvixRun {
 public:
  CalvixRun(const CalvixCommandLine& commandLine, std::ostream& out, std::ostream& err, std::istream& in)
      : commandLine_(commandLine), out_(out), err_(err), in_(in) {}

  int run();

 private:
  bool startEngine();
  bool probe();
  bool probeOnce();
  int evaluateEchoed(const std::string& statement);
  bool countFunctionOutputs(int* outputs);
  bool defineArguments(int* arguments);
  bool writeResults(int outputs);
  bool writeResult(std::ostream& file, int index);
  bool writeConvertedResult(std::ostream& file, int index);
  bool reportUnopened(const std::string& path);
  int finish(int status);

  const CalvixCommandLine& commandLine_;
  std::ostream& out_;
  std::ostream& err_;
  std::istream& in_;
  EnginePtr engine_;
};

int CalvixRun::run() {
  if (!startEngine()) return 1;
  engSetVisible(engine_.get(), false);
  if (!probe()) return 1;
  evaluateEchoed(cdStatement(commandLine_.folder));
  int outputs = 0;
  int arguments = 0;
  if (!countFunctionOutputs(&outputs) || !defineArguments(&arguments)) return finish(1);
  std::string call = callStatement(commandLine_.name, outputs, arguments);
  out_ << "Matlab >> " << call << '\n';
  engEvalString(engine_.get(), "clear functions");
  engEvalString(engine_.get(), call.c_str());
  engEvalString(engine_.get(), "clear functions");
  return finish(writeResults(outputs) ? 0 : 1);
}

bool CalvixRun::startEngine() {
  out_ << "Loading MatLab engine..." << std::endl;
  engine_.reset(engOpen(""));
  out_ << "MatLab engine loaded" << std::endl;
  if (engine_) return true;
  err_ << "Error: Not Found\n" << "Do you have Administrator privileges?\n";
  return false;
}

// Puts the probe value into "X" and reads it back until that has worked on
// the third attempt or later.
bool CalvixRun::probe() {
  out_ << "Trying to init ";
  bool lastRead = false;
  for (int attempt = 1; attempt <= kMaxProbeAttempts; ++attempt) {
    out_ << (attempt == 1 ? '*' : lastRead ? '+' : '-') << std::flush;
    lastRead = probeOnce();
    if (attempt >= kMinProbeAttempts && lastRead) {
      out_ << '\n';
      return true;
    }
  }
  out_ << '\n';
  err_ << "Error: Not Found\n" << "Do you have Administrator privileges?\n";
  return false;
}

bool CalvixRun::probeOnce() {
  ArrayPtr scalar(mxCreateDoubleScalar(kProbeValue));
  engPutVariable(engine_.get(), "X", scalar.get());
  ArrayPtr readBack(engGetVariable(engine_.get(), "X"));
  return readBack != nullptr;
}

int CalvixRun::evaluateEchoed(const std::string& statement) {
  out_ << "Matlab >> " << statement << '\n';
  return engEvalString(engine_.get(), statement.c_str());
}

bool CalvixRun::reportUnopened(const std::string& path) {
  err_ << "Error: cannot open file " << path << '\n';
  return false;
}

bool CalvixRun::countFunctionOutputs(int* outputs) {
  auto path = mFilePath(commandLine_.folder, commandLine_.name);
  if (!path) {
    err_ << "Error: m file path longer than " << kMaxMFilePath << " characters refused: " << commandLine_.folder
         << '\n';
    return false;
  }
  out_ << "m file path: " << *path << '\n';
  std::ifstream mFile(*path);
  if (!mFile) return reportUnopened(*path);
  *outputs = countOutputs(mFile);
  out_ << "Number of return values: " << *outputs << '\n';
  return true;
}

bool CalvixRun::defineArguments(int* arguments) {
  *arguments = 0;
  if (commandLine_.argumentsPath) {
    std::ifstream file(*commandLine_.argumentsPath);
    if (!file) return reportUnopened(*commandLine_.argumentsPath);
    std::string line;
    while (readLimitedLine(file, line, kMaxArgumentLine)) evaluateEchoed(argumentStatement((*arguments)++, line));
  }
  out_ << "Number of arguments: " << *arguments << '\n';
  return true;
}

bool CalvixRun::writeResults(int outputs) {
  std::ofstream file(commandLine_.resultPath, std::ios::trunc);
  if (!file) return reportUnopened(commandLine_.resultPath);
  out_ << "Output file: " << commandLine_.resultPath << '\n';
  for (int k = 0; k < outputs; ++k) {
    if (!writeResult(file, k)) {
      err_ << "Fatal error: Matlab engine returned null result\n";
      return false;
    }
  }
  return true;
}

// One output: a character array as its quoted text, anything else as the
// text mat2str gives for it.
bool CalvixRun::writeResult(std::ostream& file, int index) {
  std::string variable = variableName('Y', index);
  ArrayPtr output(engGetVariable(engine_.get(), variable.c_str()));
  if (!output) return false;
  if (!mxIsChar(output.get())) return writeConvertedResult(file, index);
  TextPtr text(mxArrayToString(output.get()));
  if (!text) return false;
  file << '\'' << text.get() << "'\n";
  out_ << variable << " = '" << text.get() << "'\n";
  return true;
}

// The conversion can fail (mat2str refuses cells and structures); the output
// then has no text, which counts as a missing output.
bool CalvixRun::writeConvertedResult(std::ostream& file, int index) {
  std::string variable = variableName('Y', index);
  int status = evaluateEchoed(mat2strStatement(index));
  out_ << "engEvalString returned " << status << '\n';
  ArrayPtr converted(engGetVariable(engine_.get(), variable.c_str()));
  TextPtr text(converted ? mxArrayToString(converted.get()) : nullptr);
  if (!text) return false;
  file << text.get() << '\n';
  out_ << variable << " = " << text.get() << '\n';
  return true;
}

// Closes the engine and, in debug mode, waits for a key.
int CalvixRun::finish(int status) {
  engine_.reset();
  out_.flush();
  if (commandLine_.debug) in_.get();
  return status;
}

}  // namespace

std::optional<CalvixCommandLine> parseCommandLine(int argc, const char* const* argv) {
  if (argc < 4) return std::nullopt;
  CalvixCommandLine commandLine{argv[1], argv[2], argv[3], std::nullopt, false};
  if (argc > 4) commandLine.argumentsPath = argv[4];
  if (argc > 5) commandLine.debug = std::string_view(argv[5]).starts_with("-d");
  return commandLine;
}

int runCalvix(const CalvixCommandLine& commandLine, std::ostream& out, std::ostream& err, std::istream& in) {
  return CalvixRun(commandLine, out, err, in).run();
}
