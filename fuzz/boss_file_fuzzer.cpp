// "data\boss.dat", the hand-over file read with the saved files at start-up: whatever it holds,
// it is consumed, and only a whole one presets the state.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include "app/app_state.h"
#include "fuzz_check.h"
#include "headless/headless.h"
#include "persist/saved_files.h"

namespace {

const fuzz::ScratchFolder& Folder() {
  static const fuzz::ScratchFolder folder;
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  headless::Reset();
  headless::SetProgramFolder(Folder().Path());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto boss = Folder().Write("data/boss.dat", std::span(data, size));
  AppState = StateMainMenu;
  LoadSavedFiles();
  fuzz::Check(!std::filesystem::exists(boss), "the hand-over file is consumed");
  fuzz::Check(size == 8 ? AppState == data[1] : AppState == StateMainMenu,
              "only a whole hand-over file presets the state");
  return 0;
}
