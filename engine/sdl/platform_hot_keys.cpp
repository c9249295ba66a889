#include <vector>

#include "sdl/platform_window.h"
#include "sdl/registered_hot_keys.h"

namespace engine::sdl {

HotKeyRegistry& HotKeys() {
  static HotKeyRegistry registry;
  return registry;
}

void ForgetHotKeys(HWND window) {
  std::vector<int32_t> ids;
  for (const HotKey& hotKey : HotKeys().All()) {
    if (hotKey.window == window) {
      ids.push_back(hotKey.id);
    }
  }
  for (const int32_t id : ids) {
    HotKeys().Unregister(window, id);
  }
}

}  // namespace engine::sdl

BOOL RegisterHotKey(HWND window, int32_t id, UINT modifiers, UINT virtualKey) {
  if (!engine::sdl::LiveWindow(window)) {
    return 0;
  }
  constexpr UINT kKnownModifiers = MOD_ALT | MOD_CONTROL | MOD_SHIFT;
  return engine::sdl::HotKeys().Register({window, id, modifiers & kKnownModifiers, virtualKey}) ? 1
                                                                                                : 0;
}

BOOL UnregisterHotKey(HWND window, int32_t id) {
  return engine::sdl::HotKeys().Unregister(window, id) ? 1 : 0;
}
