#include "core/hot_keys.h"

#include <algorithm>

namespace engine {

bool HotKeyRegistry::Register(const HotKey& hotKey) {
  const bool taken = std::any_of(hotKeys_.begin(), hotKeys_.end(), [&](const HotKey& other) {
    return (other.window == hotKey.window && other.id == hotKey.id) ||
           (other.modifiers == hotKey.modifiers && other.virtualKey == hotKey.virtualKey);
  });
  if (taken || hotKey.virtualKey == 0) {
    return false;
  }
  hotKeys_.push_back(hotKey);
  return true;
}

bool HotKeyRegistry::Unregister(HWND window, int32_t id) {
  const auto found = std::find_if(hotKeys_.begin(), hotKeys_.end(), [&](const HotKey& hotKey) {
    return hotKey.window == window && hotKey.id == id;
  });
  if (found == hotKeys_.end()) {
    return false;
  }
  hotKeys_.erase(found);
  return true;
}

std::optional<HotKey> HotKeyRegistry::Match(UINT modifiers, UINT virtualKey) const {
  const auto found = std::find_if(hotKeys_.begin(), hotKeys_.end(), [&](const HotKey& hotKey) {
    return hotKey.modifiers == modifiers && hotKey.virtualKey == virtualKey;
  });
  if (found == hotKeys_.end()) {
    return std::nullopt;
  }
  return *found;
}

}  // namespace engine
