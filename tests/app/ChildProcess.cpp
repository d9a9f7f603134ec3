// Starting, waiting for and ending a test's child programs.
#include "ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string contentsOf(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The environment of this process with `additions` ("NAME=value") replacing
// or adding entries.
std::vector<std::string> environmentWith(const std::vector<std::string>& additions) {
  std::vector<std::string> entries;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string text(*entry);
    std::string name = text.substr(0, text.find('=') + 1);
    bool replaced = false;
    for (const std::string& addition : additions) replaced = replaced || addition.rfind(name, 0) == 0;
    if (!replaced) entries.push_back(text);
  }
  entries.insert(entries.end(), additions.begin(), additions.end());
  return entries;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// In the child (only calls that are safe after fork): folder, output files, program.
[[noreturn]] void becomeProgram(const char* program, char* const* argv, char* const* envp, const char* folder,
                                const char* out, const char* err) {
  if (chdir(folder) != 0) _exit(126);
  dup2(open(out, O_WRONLY | O_CREAT | O_TRUNC, 0644), STDOUT_FILENO);
  dup2(open(err, O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
  execve(program, argv, envp);
  _exit(127);
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& folder, const std::vector<std::string>& environment, int passFd)
    : folder_(folder) {
  std::vector<std::string> argumentTexts{program};
  argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
  std::vector<std::string> environmentTexts = environmentWith(environment);
  std::vector<char*> argv = pointersTo(argumentTexts);
  std::vector<char*> envp = pointersTo(environmentTexts);
  const std::string out = folder + "/stdout.txt";
  const std::string err = folder + "/stderr.txt";
  pid_ = fork();
  if (pid_ == 0) {
    if (passFd >= 0) fcntl(passFd, F_SETFD, 0);
    becomeProgram(program.c_str(), argv.data(), envp.data(), folder.c_str(), out.c_str(), err.c_str());
  }
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !reaped_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds limit) {
  if (pid_ <= 0 || reaped_) return std::nullopt;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      reaped_ = true;
      return WIFEXITED(status) ? std::optional<int>(WEXITSTATUS(status)) : std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return std::nullopt;
}

void ChildProcess::terminate() {
  if (pid_ <= 0 || reaped_) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  reaped_ = true;
}

std::string ChildProcess::standardOutput() const { return contentsOf(folder_ + "/stdout.txt"); }
std::string ChildProcess::standardError() const { return contentsOf(folder_ + "/stderr.txt"); }

int freePort() {
  int probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  close(probe);
  return ntohs(address.sin_port);
}

std::string makeTemporaryFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/vanter-app-XXXXXX";
  char* made = mkdtemp(pattern.data());
  return made != nullptr ? std::string(made) : std::string();
}
