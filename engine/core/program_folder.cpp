#include "core/program_folder.h"

#include <mutex>
#include <string>
#include <system_error>
#include <utility>

#include "engine/paths.h"

namespace engine {
namespace {

// The connection thread may resolve paths while the main thread runs, hence the lock.
std::mutex& FolderLock() {
  static std::mutex lock;
  return lock;
}

std::filesystem::path& OverrideFolder() {
  static std::filesystem::path folder;
  return folder;
}

const std::filesystem::path& ExecutableFolder() {
  static const std::filesystem::path folder = [] {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path(error) : exe.parent_path();
  }();
  return folder;
}

}  // namespace

std::filesystem::path ProgramFolder() {
  std::lock_guard guard(FolderLock());
  return OverrideFolder().empty() ? ExecutableFolder() : OverrideFolder();
}

void SetProgramFolder(std::filesystem::path folder) {
  std::lock_guard guard(FolderLock());
  OverrideFolder() = std::move(folder);
}

}  // namespace engine

std::filesystem::path ProgramPath(std::string_view relative) {
  std::string portable(relative);
  for (char& c : portable) {
    if (c == '\\') {
      c = '/';
    }
  }
  return (engine::ProgramFolder() / portable).lexically_normal();
}
