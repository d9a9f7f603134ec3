// runProgram: posix_spawn with both output streams in temporary files.
#include "ProgramRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace {

std::string slurp(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

ProgramResult runProgram(const std::vector<std::string>& arguments) {
  std::string pattern = (std::filesystem::temp_directory_path() / "vanter-run-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  std::filesystem::path directory(pattern);
  std::string out = (directory / "out").string(), err = (directory / "err").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> copies = arguments;
  std::vector<char*> argv;
  for (auto& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  ProgramResult result;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int waitStatus = 0;
    waitpid(pid, &waitStatus, 0);
    result.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
  }
  posix_spawn_file_actions_destroy(&actions);
  result.out = slurp(out);
  result.err = slurp(err);
  std::filesystem::remove_all(directory);
  return result;
}
