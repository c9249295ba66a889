#include "core/program_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
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

ProgramFolders& OverrideFolders() {
  static ProgramFolders folders;
  return folders;
}

bool IsFolder(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

bool Writable(const std::filesystem::path& path) {
  return access(path.c_str(), W_OK) == 0;
}

std::string HomeFolder(const char* home) {
  if (home && *home)
    return home;
  // A session started without HOME (a service, some launchers) still has a home in passwd.
  if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
    return entry->pw_dir;
  return {};
}

const ProgramFolders& ExecutableFolders() {
  static const ProgramFolders folders = [] {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    const auto folder = error ? std::filesystem::current_path(error) : exe.parent_path();
    // QB_INSTALLED_DATA: the install's data folder relative to its program folder, from CMake.
    return FindProgramFolders(folder, QB_INSTALLED_DATA, Writable,
                              PlayerDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
  }();
  return folders;
}

}  // namespace

std::filesystem::path PlayerDataFolder(const char* xdgDataHome, const char* home) {
  if (xdgDataHome && std::filesystem::path(xdgDataHome).is_absolute())
    return std::filesystem::path(xdgDataHome) / "quasarball";
  return std::filesystem::path(HomeFolder(home)) / ".local/share/quasarball";
}

ProgramFolders FindProgramFolders(const std::filesystem::path& executableFolder,
                                  const std::filesystem::path& installedData,
                                  bool (*writable)(const std::filesystem::path&),
                                  const std::filesystem::path& playerFolder) {
  if (IsFolder(executableFolder / "data")) {
    const auto data = executableFolder / "data";
    return {executableFolder, writable(data) ? data : playerFolder};
  }
  const auto installed = (executableFolder / installedData).lexically_normal();
  if (IsFolder(installed / "data"))
    return {installed, playerFolder};
  return {executableFolder, playerFolder};
}

std::filesystem::path ProgramFolder() {
  std::lock_guard guard(FolderLock());
  return OverrideFolders().game.empty() ? ExecutableFolders().game : OverrideFolders().game;
}

std::filesystem::path SaveFolder() {
  std::lock_guard guard(FolderLock());
  return OverrideFolders().game.empty() ? ExecutableFolders().saves : OverrideFolders().saves;
}

void SetProgramFolder(std::filesystem::path folder) {
  auto saves = folder.empty() ? folder : folder / "data";
  SetProgramFolders({std::move(folder), std::move(saves)});
}

void SetProgramFolders(ProgramFolders folders) {
  std::lock_guard guard(FolderLock());
  OverrideFolders() = std::move(folders);
}

}  // namespace engine

namespace {

std::string Portable(std::string_view relative) {
  std::string portable(relative);
  for (char& c : portable) {
    if (c == '\\') {
      c = '/';
    }
  }
  return portable;
}

}  // namespace

std::filesystem::path ProgramPath(std::string_view relative) {
  return (engine::ProgramFolder() / Portable(relative)).lexically_normal();
}

std::filesystem::path SavedFilePath(std::string_view name) {
  return engine::SaveFolder() / std::filesystem::path(Portable(name)).filename();
}
