// The folder every relative path the game names is resolved in (see engine/paths.h), and the
// folder its saved files go to.
#pragma once

#include <filesystem>

namespace engine {

struct ProgramFolders {
  std::filesystem::path game;   // holds data/ and sound/
  std::filesystem::path saves;  // holds the saved files
};

// The folder a player's own files live in: $XDG_DATA_HOME/quasarball, or
// ~/.local/share/quasarball when that is unset, empty or relative (which the XDG rules ignore).
std::filesystem::path PlayerDataFolder(const char* xdgDataHome, const char* home);

// A portable copy (the build tree, an unpacked folder) holds data/ beside the executable; an
// installed one finds it at `installedData`, relative to the executable's folder. The saved files
// stay in a portable copy's data/ while that folder can be written; an installed copy, or a
// portable one in a read-only place, keeps them in the player's data folder, never beside the
// game's read-only data.
ProgramFolders FindProgramFolders(const std::filesystem::path& executableFolder,
                                  const std::filesystem::path& installedData,
                                  bool (*writable)(const std::filesystem::path&),
                                  const std::filesystem::path& playerFolder);

// The folders of the running executable, or the ones a test set.
std::filesystem::path ProgramFolder();
std::filesystem::path SaveFolder();

// Lets a test put the program's files in a folder of its own, its saved files in its data/; an
// empty path goes back to the executable's folders.
void SetProgramFolder(std::filesystem::path folder);
void SetProgramFolders(ProgramFolders folders);

}  // namespace engine
