// The two temporary files of a MATLAB call: their folder, their numbered names
// and their exclusive creation, so that two calls never share a file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

class NetRandom;

// A path of a temporary file has at most this many characters.
constexpr std::size_t kMaxTemporaryPath = 259;
// Names already in use are passed over this many times before giving up.
constexpr int kMaxNameDraws = 100;

// An open file descriptor, closed when destroyed.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FileDescriptor& operator=(FileDescriptor&&) = delete;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  // Closes now; false when closing reported an error (data may be lost).
  bool close();

 private:
  int fd_;
};

struct TemporaryFile {
  std::string path;
  FileDescriptor file;  // open for writing
};

// The folder named by TEMP, else by TMPDIR, else "/tmp" (an empty value
// counts as unset).
std::string temporaryFolder();

// Creates folder + "/" + stem + number + ".tmp" exclusively, the number drawn
// from `random`; a name in use draws the next number. Nothing when the path
// would be longer than kMaxTemporaryPath, when the file cannot be created, or
// after kMaxNameDraws names in use; `error` then says why.
std::optional<TemporaryFile> createTemporaryFile(std::string_view folder, std::string_view stem, NetRandom& random,
                                                 std::string& error);

// Writes all of `text`; false on a write error.
bool writeAll(int fd, std::string_view text);
