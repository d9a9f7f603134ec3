// ServerProcess: spawning, watching and stopping the headless server.
#include "ServerProcess.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

constexpr auto kPoll = std::chrono::milliseconds(10);

std::vector<std::string> environmentWith(const std::vector<std::pair<std::string, std::string>>& added) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string_view text(*entry);
    bool replaced =
        std::any_of(added.begin(), added.end(), [&](const auto& pair) { return text.starts_with(pair.first + "="); });
    if (!replaced) result.emplace_back(text);
  }
  for (const auto& [name, value] : added) result.push_back(name + "=" + value);
  return result;
}

std::filesystem::path freshDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vanter-server-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

int statusOf(int waitStatus) { return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus); }

}  // namespace

std::uint16_t freePort() {
  int probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  socklen_t size = sizeof address;
  bind(probe, reinterpret_cast<sockaddr*>(&address), size);
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
  close(probe);
  return ntohs(address.sin_port);
}

bool hasLineRun(const std::vector<std::string>& log, const std::vector<std::string>& lines) {
  return std::search(log.begin(), log.end(), lines.begin(), lines.end()) != log.end() || lines.empty();
}

// Starts `program` in `directory` with its output in files there: the pid, or
// -1 with `error` set.
static pid_t spawnIn(const std::filesystem::path& directory, std::string program, std::vector<std::string> environment,
                     std::string& error) {
  std::vector<char*> environmentPointers;
  for (auto& entry : environment) environmentPointers.push_back(entry.data());
  environmentPointers.push_back(nullptr);
  std::string out = (directory / "server.stdout").string();
  std::string err = (directory / "server.stderr").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  char* argv[] = {program.data(), nullptr};
  pid_t pid = -1;
  int status = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environmentPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  if (status == 0) return pid;
  error = "cannot start " + program + ": " + std::strerror(status);
  return -1;
}

std::unique_ptr<ServerProcess> ServerProcess::start(const Options& options, std::string& error) {
  std::unique_ptr<ServerProcess> server(new ServerProcess);
  server->directory_ = freshDirectory();
  if (server->directory_.empty()) {
    error = "cannot make a temporary directory";
    return nullptr;
  }
  server->port_ = freePort();
  auto added = options.environment;
  added.emplace_back("VANTER_PORT", options.portText.value_or(std::to_string(server->port_)));
  std::string program =
      options.program.empty() ? std::string(VANTER_BIN_DIR) + "/VanterServerHeadless" : options.program;
  server->pid_ = spawnIn(server->directory_, program, environmentWith(added), error);
  if (server->pid_ < 0) return nullptr;
  return server;
}

std::unique_ptr<ServerProcess> ServerProcess::startServing(std::string& error, const Options& options) {
  std::unique_ptr<ServerProcess> server = start(options, error);
  if (server && !server->waitUntilServing()) {
    error = "the server did not start serving; its output:\n" + server->standardOutput() + server->standardError();
    return nullptr;
  }
  return server;
}

ServerProcess::~ServerProcess() {
  if (pid_ > 0 && !exitStatus_ && !stop(SIGTERM)) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  std::error_code ignored;
  if (!directory_.empty()) std::filesystem::remove_all(directory_, ignored);
}

std::string ServerProcess::fileText(const char* name) const {
  std::ifstream file(directory_ / name, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string ServerProcess::standardOutput() const { return fileText("server.stdout"); }
std::string ServerProcess::standardError() const { return fileText("server.stderr"); }

std::vector<std::string> ServerProcess::logLines() const {
  std::vector<std::string> lines;
  std::string text = standardOutput();
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

bool ServerProcess::waitUntilServing(std::chrono::milliseconds limit) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (hasLineRun(logLines(), {"TCPServer running..."})) return true;
    if (waitForExit(std::chrono::milliseconds(0))) return false;
    std::this_thread::sleep_for(kPoll);
  }
  return false;
}

bool ServerProcess::waitForLines(const std::vector<std::string>& lines, std::chrono::milliseconds limit) const {
  auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (hasLineRun(logLines(), lines)) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPoll);
  }
}

std::optional<int> ServerProcess::waitForExit(std::chrono::milliseconds limit) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (!exitStatus_) {
    int waitStatus = 0;
    if (waitpid(pid_, &waitStatus, WNOHANG) == pid_) {
      exitStatus_ = statusOf(waitStatus);
      break;
    }
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(kPoll);
  }
  return exitStatus_;
}

std::optional<int> ServerProcess::stop(int signal) {
  if (!exitStatus_) kill(pid_, signal);
  return waitForExit();
}

bool ServerProcess::limitDescriptors(std::uint64_t limit) {
  rlimit both{limit, limit};
  return prlimit(pid_, RLIMIT_NOFILE, &both, nullptr) == 0;
}

std::optional<std::pair<std::uint64_t, std::uint64_t>> ServerProcess::descriptorLimits() const {
  rlimit current{};
  if (prlimit(pid_, RLIMIT_NOFILE, nullptr, &current) != 0) return std::nullopt;
  return std::pair<std::uint64_t, std::uint64_t>(current.rlim_cur, current.rlim_max);
}

std::optional<std::uint64_t> ServerProcess::residentBytes() const {
  std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) return std::stoull(line.substr(6)) * 1024;  // the kernel counts in kB
  }
  return std::nullopt;
}
