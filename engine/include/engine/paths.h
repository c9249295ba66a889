// Where the game's files live. Every path the game names ("data\Levels.dat", "sound/btn_clk.wav")
// is relative to the folder that holds the program, not to the working folder, and may use '\'
// as well as '/'.
#pragma once

#include <filesystem>
#include <string_view>

// The file `relative` names, inside the program's folder. An absolute path is returned as it is.
std::filesystem::path ProgramPath(std::string_view relative);

// Where the saved file `name` ("data\settings.dat") is kept: in data/ beside the program when that
// can be written, otherwise in the player's own data folder.
std::filesystem::path SavedFilePath(std::string_view name);
