#include "persist/file_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
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

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0)
      return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
  std::filesystem::path temporary = path;
  temporary += ".new";
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0)
    return false;
  const bool written = WriteAll(fd, bytes) && fsync(fd) == 0;
  const bool closed = close(fd) == 0;
  if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}
