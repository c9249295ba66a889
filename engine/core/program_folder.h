// The folder every relative path the game names is resolved in (see engine/paths.h).
#pragma once

#include <filesystem>

namespace engine {

// The folder of the running executable, or the one a test set.
std::filesystem::path ProgramFolder();

// Lets a test put the program's files in a folder of its own; an empty path goes back to the
// executable's folder.
void SetProgramFolder(std::filesystem::path folder);

}  // namespace engine
