#include <cstring>

#include "app/autoplayer.h"
#include "app/engine_loop.h"
#include "engine/engine.h"

// "--autoplay" lets the bot play, game after game, for soak tests and as a demonstration; its
// keys reach the engine the way the keyboard's do.
int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--autoplay") == 0) {
    Autoplayer = std::make_unique<TAutoplayer>(
        [](int32_t scanCode, bool down) { iKeyInject(scanCode, down ? 1 : 0); });
  }
  return RunProgram();
}
