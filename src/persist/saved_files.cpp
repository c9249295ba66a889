#include "persist/saved_files.h"

#include <filesystem>
#include <span>
#include <system_error>

#include "app/app_state.h"
#include "engine/paths.h"
#include "persist/file_store.h"
#include "persist/records.h"
#include "persist/settings.h"

namespace {

constexpr size_t kBossFileBytes = 8;

void ConsumeBossFile() {
  const auto path = SavedFilePath("data\\boss.dat");
  std::error_code error;
  if (!std::filesystem::exists(path, error))
    return;
  if (auto bytes = ReadExactFile(path, kBossFileBytes)) {
    AppState = (*bytes)[1];
    MenuBackgroundOn = (*bytes)[2] != 0;
  }
  std::filesystem::remove(path, error);
}

// The player's data folder is made on the first start of an installed copy; private, as the XDG
// rules ask.
void MakeSaveFolder() {
  const auto folder = SavedFilePath("data\\settings.dat").parent_path();
  std::error_code error;
  if (std::filesystem::create_directories(folder, error))
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);
}

}  // namespace

void LoadSavedFiles() {
  MakeSaveFolder();
  LoadSettings();
  LoadRecords();
  ConsumeBossFile();
}
