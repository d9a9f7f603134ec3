// Exclusive creation of numbered temporary files.
#include "matlab/TemporaryFiles.h"

#include "model/NetRandom.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

FileDescriptor::~FileDescriptor() { close(); }

bool FileDescriptor::close() {
  if (fd_ < 0) return true;
  int status = ::close(fd_);
  fd_ = -1;
  return status == 0;
}

std::string temporaryFolder() {
  for (const char* variable : {"TEMP", "TMPDIR"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return "/tmp";
}

std::optional<TemporaryFile> createTemporaryFile(std::string_view folder, std::string_view stem, NetRandom& random,
                                                 std::string& error) {
  for (int draw = 0; draw < kMaxNameDraws; ++draw) {
    std::string path = std::string(folder) + "/" + std::string(stem) + std::to_string(random.next()) + ".tmp";
    if (path.size() > kMaxTemporaryPath) {
      error = "temporary file path longer than " + std::to_string(kMaxTemporaryPath) + " characters refused";
      return std::nullopt;
    }
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) return TemporaryFile{path, FileDescriptor(fd)};
    if (errno != EEXIST) {
      error = "cannot create " + path + ": " + std::strerror(errno);
      return std::nullopt;
    }
  }
  error = "no free temporary file name in " + std::string(folder);
  return std::nullopt;
}

bool writeAll(int fd, std::string_view text) {
  while (!text.empty()) {
    ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}
