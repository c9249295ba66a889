// Engine objects of one kind, reached through positive int32 handles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

namespace engine {

// A handle packs a slot index (low bits) and the slot's generation (high bits, never 0, so every
// handle is positive). Removing an object or clearing the table moves the generation on, so a
// stale handle — destroyed, or issued before the last engine close — finds nothing rather than
// whatever object took its slot. Freed slots are reused first-in first-out, which spreads the
// generations and keeps an old handle from meeting its own generation again for a long time.
template <typename T>
class HandleTable {
 public:
  static constexpr int kSlotBits = 14;
  static constexpr uint32_t kMaxSlots = 1u << kSlotBits;
  static constexpr uint32_t kMaxGeneration = (1u << (31 - kSlotBits)) - 1;

  // The new object's handle, or 0 when every slot is taken.
  int32_t Add(T value) {
    uint32_t index;
    if (!free_.empty()) {
      index = free_.front();
      free_.pop_front();
    } else if (slots_.size() < kMaxSlots) {
      index = static_cast<uint32_t>(slots_.size());
      slots_.emplace_back();
    } else {
      return 0;
    }
    Slot& slot = slots_[index];
    slot.value.emplace(std::move(value));
    ++size_;
    return static_cast<int32_t>(slot.generation << kSlotBits | index);
  }

  T* Find(int32_t handle) {
    Slot* slot = SlotOf(handle);
    return slot ? &*slot->value : nullptr;
  }
  const T* Find(int32_t handle) const { return const_cast<HandleTable*>(this)->Find(handle); }

  // False when the handle names no live object.
  bool Remove(int32_t handle) {
    Slot* slot = SlotOf(handle);
    if (!slot) {
      return false;
    }
    Release(*slot, static_cast<uint32_t>(slot - slots_.data()));
    return true;
  }

  // Removes every object; every handle issued so far is dead.
  void Clear() {
    for (uint32_t index = 0; index < slots_.size(); ++index) {
      if (slots_[index].value) {
        Release(slots_[index], index);
      }
    }
  }

  // Calls f(handle, object) for every live object, in slot order.
  template <typename F>
  void ForEach(F&& f) {
    for (uint32_t index = 0; index < slots_.size(); ++index) {
      Slot& slot = slots_[index];
      if (slot.value) {
        f(static_cast<int32_t>(slot.generation << kSlotBits | index), *slot.value);
      }
    }
  }

  size_t Size() const { return size_; }

 private:
  struct Slot {
    uint32_t generation = 1;
    std::optional<T> value;
  };

  Slot* SlotOf(int32_t handle) {
    if (handle <= 0) {
      return nullptr;
    }
    const auto bits = static_cast<uint32_t>(handle);
    const uint32_t index = bits & (kMaxSlots - 1);
    if (index >= slots_.size()) {
      return nullptr;
    }
    Slot& slot = slots_[index];
    if (!slot.value || slot.generation != bits >> kSlotBits) {
      return nullptr;
    }
    return &slot;
  }

  void Release(Slot& slot, uint32_t index) {
    slot.value.reset();
    slot.generation = slot.generation == kMaxGeneration ? 1 : slot.generation + 1;
    free_.push_back(index);
    --size_;
  }

  std::vector<Slot> slots_;
  std::deque<uint32_t> free_;
  size_t size_ = 0;
};

}  // namespace engine
