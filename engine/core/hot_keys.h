// The hot keys a program registered, shared by the platform layers: while one is registered, its
// key pressed with exactly its modifiers becomes a WM_HOTKEY message instead of a key press.
#pragma once

#include <optional>
#include <vector>

#include "engine/platform.h"

namespace engine {

struct HotKey {
  HWND window;
  int32_t id;
  UINT modifiers;  // MOD_ALT | MOD_CONTROL | MOD_SHIFT
  UINT virtualKey;
};

class HotKeyRegistry {
 public:
  // False when the window already has this identifier or the combination is taken.
  bool Register(const HotKey& hotKey);
  bool Unregister(HWND window, int32_t id);
  // The hot key a press of `virtualKey` with `modifiers` held triggers, if any.
  std::optional<HotKey> Match(UINT modifiers, UINT virtualKey) const;
  const std::vector<HotKey>& All() const { return hotKeys_; }
  void Clear() { hotKeys_.clear(); }

 private:
  std::vector<HotKey> hotKeys_;
};

}  // namespace engine
