// Locating and running Calvix.exe with posix_spawn and waitpid.
#include "matlab/AdapterProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>

extern char** environ;

const char* const kAdapterProgram = "Calvix.exe";

std::string programFolder() {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return self.parent_path().string();
}

std::optional<std::string> findAdapter(const std::vector<std::string>& folders) {
  for (const auto& folder : folders) {
    if (folder.empty()) continue;
    std::string path = folder + "/" + kAdapterProgram;
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0) return path;
  }
  return std::nullopt;
}

namespace {

// Waits for `pid`; true when it exited with status 0.
bool exitedCleanly(pid_t pid) {
  int status = 0;
  pid_t waited;
  do {
    waited = ::waitpid(pid, &status, 0);
  } while (waited < 0 && errno == EINTR);
  return waited == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// How the adapter starts: standard output to our standard error, standard
// input from /dev/null, none of the server's other descriptors (its sockets
// stay the server's), and a clean signal state (a server thread may block or
// ignore signals, and the child would inherit that).
struct AdapterStart {
  AdapterStart() {
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    for (int signal : {SIGPIPE, SIGINT, SIGTERM, SIGCHLD}) sigaddset(&signals, signal);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  ~AdapterStart() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
  AdapterStart(const AdapterStart&) = delete;
  AdapterStart& operator=(const AdapterStart&) = delete;

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
};

}  // namespace

bool runAdapter(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv{const_cast<char*>(kAdapterProgram)};
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  AdapterStart start;
  pid_t pid = -1;
  if (::posix_spawn(&pid, program.c_str(), &start.actions, &start.attributes, argv.data(), environ) != 0) return false;
  return exitedCleanly(pid);
}
