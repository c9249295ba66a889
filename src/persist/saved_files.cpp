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
  const auto path = ProgramPath("data\\boss.dat");
  std::error_code error;
  if (!std::filesystem::exists(path, error))
    return;
  if (auto bytes = ReadExactFile(path, kBossFileBytes)) {
    AppState = (*bytes)[1];
    MenuBackgroundOn = (*bytes)[2] != 0;
  }
  std::filesystem::remove(path, error);
}

}  // namespace

void LoadSavedFiles() {
  LoadSettings();
  LoadRecords();
  ConsumeBossFile();
}
