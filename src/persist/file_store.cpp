#include "persist/file_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <system_error>

std::optional<std::vector<uint8_t>> ReadExactFile(const std::filesystem::path& path, size_t size) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error))
    return std::nullopt;
  if (std::filesystem::file_size(path, error) != size || error)
    return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes(size);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
    return std::nullopt;
  return bytes;
}

void KeepUnreadableFile(const std::filesystem::path& path, size_t expectedSize) {
  std::error_code error;
  if (!std::filesystem::exists(path, error))
    return;
  const auto size = std::filesystem::file_size(path, error);
  const std::string found = error ? "no file" : std::to_string(size) + " bytes";
  std::filesystem::path kept = path;
  kept += ".bad";
  std::filesystem::rename(path, kept, error);
  const std::string what = error ? "defaults used" : "kept as " + kept.filename().string();
  std::fprintf(stderr, "quasarball: %s is %s, not a saved file of %zu bytes; %s\n", path.c_str(),
               found.c_str(), expectedSize, what.c_str());
}

namespace {

// Beside the target, so the rename stays within one file system and cannot be a copy.
std::filesystem::path TemporaryFileFor(const std::filesystem::path& path) {
  std::filesystem::path temporary = path;
  temporary += ".new";
  return temporary;
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0)
      close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  bool Ok() const { return fd_ >= 0; }
  int Get() const { return fd_; }
  // Closing is where some file systems report a failed write, so it is checked, not left to
  // the destructor.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

// A signal may interrupt a write and a nearly full disk may take only part of it; both are
// carried on until every byte is down or the system gives a real error.
bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n == 0)
      errno = EIO;
    if (n <= 0)
      return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

bool Sync(int fd) {
  int result;
  do {
    result = fsync(fd);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

// The rename is only on disk once the folder's own entry list is.
bool SyncFolder(const std::filesystem::path& folder) {
  FileDescriptor fd(
      open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return fd.Ok() && Sync(fd.Get()) && fd.Close();
}

constexpr const char* kOldKept = "the old file is kept";

bool Fail(const std::filesystem::path& path, const char* outcome, int error) {
  std::fprintf(stderr, "quasarball: %s could not be saved (%s); %s\n", path.c_str(),
               std::strerror(error), outcome);
  return false;
}

}  // namespace

void RemoveLeftoverTemporary(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::remove(TemporaryFileFor(path), ignored);
}

bool WriteFileAtomically(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
  const std::filesystem::path temporary = TemporaryFileFor(path);
  FileDescriptor fd(open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (!fd.Ok())
    return Fail(path, kOldKept, errno);
  if (!WriteAll(fd.Get(), bytes) || !Sync(fd.Get()) || !fd.Close() ||
      std::rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    std::remove(temporary.c_str());
    return Fail(path, kOldKept, error);
  }
  if (!SyncFolder(path.parent_path()))
    return Fail(path, "the new file is in place but may not survive a crash", errno);
  return true;
}
