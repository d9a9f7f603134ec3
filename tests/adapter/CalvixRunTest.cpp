// Calvix.exe end to end: real m-files run by Octave in a temporary folder
// whose name holds a space and a quote, checked through the result file,
// the exit status and the running account on standard output and error.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const std::string kCalvix = std::string(VANTER_BIN_DIR) + "/Calvix.exe";

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

struct Finished {
  int status = -1;
  std::string out;
  std::string err;
};

class CalvixRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "calvix it's XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Starts Calvix.exe with `arguments`, standard output and error going to
  // files, standard input from `input` (or /dev/null when -1).
  pid_t start(const std::vector<std::string>& arguments, int input = -1) {
    std::vector<char*> argv{const_cast<char*>(kCalvix.c_str())};
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input >= 0) posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    else posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    int failure = posix_spawn(&pid, kCalvix.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(failure, 0) << kCalvix;
    return pid;
  }

  Finished finish(pid_t pid) {
    Finished finished;
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) finished.status = WEXITSTATUS(status);
    finished.out = readFile(outPath());
    finished.err = readFile(errPath());
    return finished;
  }

  Finished run(const std::vector<std::string>& arguments) { return finish(start(arguments)); }

  // Writes name.m and, when given, an arguments file; runs the function.
  Finished call(const std::string& name, const std::string& mFile, const std::vector<std::string>& argumentLines) {
    writeFile(folder_ / (name + ".m"), mFile);
    std::string lines;
    for (const auto& line : argumentLines) lines += line + "\n";
    writeFile(argumentsPath(), lines);
    return run({folder_.string(), name, resultPath(), argumentsPath()});
  }

  std::string resultPath() const { return (folder_ / "result.tmp").string(); }
  std::string argumentsPath() const { return (folder_ / "args.tmp").string(); }
  std::string outPath() const { return (folder_ / "stdout.txt").string(); }
  std::string errPath() const { return (folder_ / "stderr.txt").string(); }

  fs::path folder_;
};

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(CalvixRunTest, TwoOutputsFromTwoArguments) {
  auto finished = call("sumprod", "function [s, p] = sumprod(a, b)\n  s = a + b;\n  p = a * b;\nend\n",
                       {"3.000000", "4.500000"});
  EXPECT_EQ(finished.status, 0) << finished.err;
  EXPECT_EQ(readFile(resultPath()), "7.5\n13.5\n");
  std::string expectedAccount = "Loading MatLab engine...\nMatLab engine loaded\nTrying to init *++\n"
                                "Matlab >> cd('" + folder_.string().replace(folder_.string().find('\''), 1, "''") +
                                "');\nm file path: " + (folder_ / "sumprod.m").string() +
                                "\nNumber of return values: 2\nMatlab >> X0 = 3.000000\nMatlab >> X1 = 4.500000\n"
                                "Number of arguments: 2\nMatlab >> [Y0,Y1] = sumprod(X0,X1);\nOutput file: " +
                                resultPath() + "\nMatlab >> Y0 = mat2str(Y0);\nengEvalString returned 0\nY0 = 7.5\n"
                                "Matlab >> Y1 = mat2str(Y1);\nengEvalString returned 0\nY1 = 13.5\n";
  EXPECT_EQ(finished.out, expectedAccount);
}

TEST_F(CalvixRunTest, StringOutputIsQuotedAndADoubledQuoteArrivesAsOne) {
  auto finished = call("greet", "function r = greet(who)\n  r = ['hello ' who];\nend\n", {"'it''s me'"});
  EXPECT_EQ(finished.status, 0) << finished.err;
  EXPECT_EQ(readFile(resultPath()), "'hello it's me'\n");
  EXPECT_TRUE(contains(finished.out, "Y0 = 'hello it's me'\n")) << finished.out;
}

TEST_F(CalvixRunTest, MatrixOutputIsWrittenAsMat2strText) {
  auto finished = call("grid", "function m = grid(k, row)\n  m = [[1 2; 3 4] * k; row];\nend\n",
                       {"2.000000", "[5.000000 6.500000 ]"});
  EXPECT_EQ(finished.status, 0) << finished.err;
  EXPECT_EQ(readFile(resultPath()), "[2 4;6 8;5 6.5]\n");
}

TEST_F(CalvixRunTest, NoOutputsLeaveTheResultFileEmpty) {
  auto finished = call("quiet", "function [] = quiet(x)\n  y = x;\nend\n", {"1.000000"});
  EXPECT_EQ(finished.status, 0) << finished.err;
  EXPECT_TRUE(contains(finished.out, "Number of return values: 0\n"));
  EXPECT_TRUE(contains(finished.out, "Matlab >> [Y0] = quiet(X0);\n"));
  EXPECT_TRUE(fs::exists(resultPath()));
  EXPECT_EQ(readFile(resultPath()), "");
}

TEST_F(CalvixRunTest, HeaderWithoutBracketsAndNoArgumentsFile) {
  writeFile(folder_ / "answer.m", "function r = answer()\n  r = 42;\nend\n");
  auto finished = run({folder_.string() + "/", "answer", resultPath()});
  EXPECT_EQ(finished.status, 0) << finished.err;
  EXPECT_TRUE(contains(finished.out, "m file path: " + (folder_ / "answer.m").string() + "\n")) << finished.out;
  EXPECT_TRUE(contains(finished.out, "Number of return values: 1\nNumber of arguments: 0\n"));
  EXPECT_TRUE(contains(finished.out, "Matlab >> Y0 = answer();\n"));
  EXPECT_EQ(readFile(resultPath()), "42\n");
}

TEST_F(CalvixRunTest, ABodyLineResetsTheCountAndTheMissingOutputFails) {
  auto finished = call("sized", "function r = sized(A)\n  [m, n, k] = size(A);\n  r = m;\nend\n", {"[1.000000 ]"});
  EXPECT_EQ(finished.status, 1);
  EXPECT_TRUE(contains(finished.out, "Number of return values: 3\n"));
  EXPECT_TRUE(contains(finished.out, "Matlab >> [Y0,Y1,Y2] = sized(X0);\n"));
  EXPECT_TRUE(contains(finished.err, "Fatal error: Matlab engine returned null result\n")) << finished.err;
  EXPECT_EQ(readFile(resultPath()), "");
}

TEST_F(CalvixRunTest, AnOutputThatIsNeverSetFails) {
  auto finished = call("half", "function [a, b] = half(x)\n  a = x / 2;\nend\n", {"8.000000"});
  EXPECT_EQ(finished.status, 1);
  EXPECT_TRUE(contains(finished.err, "Fatal error: Matlab engine returned null result\n")) << finished.err;
}

TEST_F(CalvixRunTest, MissingFilesAreReportedWithTheirPath) {
  auto noMFile = run({folder_.string(), "absent", resultPath()});
  EXPECT_EQ(noMFile.status, 1);
  EXPECT_TRUE(contains(noMFile.err, "Error: cannot open file " + (folder_ / "absent.m").string() + "\n"));
  EXPECT_FALSE(fs::exists(resultPath()));

  writeFile(folder_ / "one.m", "function r = one()\n  r = 1;\nend\n");
  std::string noArguments = (folder_ / "none.tmp").string();
  auto noArgumentsFile = run({folder_.string(), "one", resultPath(), noArguments});
  EXPECT_EQ(noArgumentsFile.status, 1);
  EXPECT_TRUE(contains(noArgumentsFile.err, "Error: cannot open file " + noArguments + "\n"));
  EXPECT_FALSE(fs::exists(resultPath()));
}

TEST_F(CalvixRunTest, FewerThanThreeArgumentsPrintTheUsage) {
  auto finished = run({folder_.string(), "f"});
  EXPECT_EQ(finished.status, 1);
  EXPECT_EQ(finished.out,
            "Syntax: Tobrin <path to m file> <name of m file without .m> <output file> [<args file> [-d]]\n");
}

TEST_F(CalvixRunTest, DebugSwitchWaitsForAKeyAfterAFailure) {
  int keys[2];
  ASSERT_EQ(pipe(keys), 0);
  pid_t pid = start({folder_.string(), "absent", resultPath(), argumentsPath(), "-debug"}, keys[0]);
  close(keys[0]);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!contains(readFile(errPath()), "Error: cannot open file") && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  int status = 0;
  EXPECT_EQ(waitpid(pid, &status, WNOHANG), 0) << "Calvix ended without waiting for a key";
  ASSERT_EQ(write(keys[1], "\n", 1), 1);
  close(keys[1]);
  EXPECT_EQ(finish(pid).status, 1);
}

}  // namespace
