// Image packs: the game's reader of the pack table, which hands each picture to the engine's
// textures, and the tools' pack reader with the picture decoder on every entry it gives.
#include <fcntl.h>
#include <sanitizer/common_interface_defs.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

#include "core/image_decoder.h"
#include "engine/engine.h"
#include "engine/platform.h"
#include "formats/image_pack.h"
#include "fuzz_check.h"
#include "headless/headless.h"
#include "sprites/image_pack.h"

namespace {

// Far more than any pack of ours holds; enough to walk past the table's end.
constexpr uint16_t kEntriesTried = 40;

const fuzz::ScratchFolder& Folder() {
  static const fuzz::ScratchFolder folder;
  return folder;
}

void OpenEngine() {
  headless::Reset();
  headless::SetProgramFolder(Folder().Path());
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.lpszClassName = "Game";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "Game", "Quasarball", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                                nullptr, nullptr);
  const int32_t settings[6] = {0, 0, 800 * 600 * 32, 0, 0, -1};
  fuzz::Check(window && i3ImpactOpen(window, 0) != 0 && i3ImpactSettings(settings) != 0,
              "the headless engine opens");
}

// The engine prints a line for each damaged picture, as it should; here that would be millions
// of lines. They go nowhere while the game's reader runs, and the sanitizers' reports go to the
// standard error kept aside.
class QuietStderr {
 public:
  QuietStderr() {
    std::fflush(stderr);
    dup2(Null(), STDERR_FILENO);
  }
  ~QuietStderr() {
    std::fflush(stderr);
    dup2(Kept(), STDERR_FILENO);
  }
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

  static int Kept() {
    static const int kept = dup(STDERR_FILENO);
    return kept;
  }

 private:
  static int Null() {
    static const int null = open("/dev/null", O_WRONLY);
    return null;
  }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<intptr_t>(QuietStderr::Kept())));
  OpenEngine();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span bytes(data, size);
  Folder().Write("data/Pack.dat", bytes);
  // Every picture gets a tag of its own, so none is taken for one decoded before.
  static int32_t tag = 0;
  std::vector<int32_t> textures;
  {
    const QuietStderr quiet;
    for (uint16_t index = 0; index < kEntriesTried; ++index) {
      if (const int32_t texture = LoadPackTexture("data\\Pack.dat", index, ++tag)) {
        textures.push_back(texture);
      }
    }
  }
  for (const int32_t texture : textures) {
    iTextureDestroy(texture);
  }

  try {
    const qbtools::PackReader pack(qbtools::Bytes(bytes.begin(), bytes.end()));
    for (size_t index = 0; index < pack.Count(); ++index) {
      engine::TryDecodeImage(pack.Picture(index));
    }
  } catch (const qbtools::PackError&) {
  }
  return 0;
}
