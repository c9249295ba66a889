// A fresh program folder for one test, removed afterwards. Empty, or holding the game's built data
// (linked file by file, so the saved files a test writes stay its own).
#pragma once

#include <filesystem>

class TempProgramFolder {
 public:
  enum class Contents { Empty, GameData };

  explicit TempProgramFolder(Contents contents = Contents::Empty);
  ~TempProgramFolder();
  TempProgramFolder(const TempProgramFolder&) = delete;
  TempProgramFolder& operator=(const TempProgramFolder&) = delete;

  // Makes this the program's folder again (after the engine was reset).
  void Activate() const;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path Data(const char* name) const { return path_ / "data" / name; }

 private:
  std::filesystem::path path_;
};
