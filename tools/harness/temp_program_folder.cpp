#include "temp_program_folder.h"

#include <unistd.h>

#include <string>

#include "core/program_folder.h"

namespace {

// Links every file below `from` into the same place below `to`, making real folders on the way.
void LinkTree(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::filesystem::create_directories(to);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(from)) {
    const auto target = to / std::filesystem::relative(entry.path(), from);
    if (entry.is_directory())
      std::filesystem::create_directories(target);
    else
      std::filesystem::create_symlink(entry.path(), target);
  }
}

}  // namespace

TempProgramFolder::TempProgramFolder(Contents contents) {
  std::string pattern = (std::filesystem::temp_directory_path() / "quasarball-XXXXXX").string();
  path_ = mkdtemp(pattern.data());
  std::filesystem::create_directories(path_ / "data");
  if (contents == Contents::GameData) {
    const std::filesystem::path built = QB_BUILD_ROOT;
    for (const char* folder : {"data", "sound"})
      LinkTree(built / folder, path_ / folder);
    // The saved files belong to the test, not to whoever played the built game last.
    for (const char* saved : {"settings.dat", "records.dat", "boss.dat"})
      std::filesystem::remove(path_ / "data" / saved);
  }
  Activate();
}

void TempProgramFolder::Activate() const {
  engine::SetProgramFolder(path_);
}

TempProgramFolder::~TempProgramFolder() {
  engine::SetProgramFolder({});
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}
