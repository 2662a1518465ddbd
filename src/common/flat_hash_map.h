#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

namespace zelvo {

// A hash map with open addressing: entries live in one array probed
// linearly from their hash's slot, with each slot keeping the entry's hash.
// A lookup usually touches one cache line, where a node-based map touches a
// bucket and a node; growing rehashes by one sequential pass. Removal
// shifts the following entries back, so there are no tombstones.
//
// `Hash` maps a key (or anything comparable with it by `Equal`) to 64 bits;
// Key and Value must be default-constructible and movable.
template <typename Key, typename Value, typename Hash, typename Equal = std::equal_to<>>
class FlatHashMap {
 public:
  struct Slot {
    std::uint64_t hash = 0;  // 0 marks an empty slot
    Key key{};
    Value value{};
  };

  explicit FlatHashMap(Hash hash = Hash(), Equal equal = Equal()) : hash_(std::move(hash)), equal_(std::move(equal)) {}

  FlatHashMap(const FlatHashMap&) = delete;
  FlatHashMap& operator=(const FlatHashMap&) = delete;

  std::size_t size() const { return size_; }

  // The value stored under `key`, or null.
  template <typename K>
  Value* find(const K& key) {
    const Slot* slot = find_slot(key, slot_hash(key));
    return slot == nullptr ? nullptr : const_cast<Value*>(&slot->value);
  }
  template <typename K>
  const Value* find(const K& key) const {
    const Slot* slot = find_slot(key, slot_hash(key));
    return slot == nullptr ? nullptr : &slot->value;
  }

  // Inserts (key, value) unless the key is present. Returns the stored
  // value and whether it was inserted; a present key keeps its value.
  std::pair<Value*, bool> try_emplace(Key key, Value value) {
    const std::uint64_t hash = slot_hash(key);
    if (Slot* existing = const_cast<Slot*>(find_slot(key, hash))) return {&existing->value, false};
    if ((size_ + 1) * 8 > capacity_ * 7) grow();
    Slot& slot = place(hash);
    slot.key = std::move(key);
    slot.value = std::move(value);
    ++size_;
    return {&slot.value, true};
  }

  // Removes `key`, moving its value into `removed` when given; false when
  // the key is absent.
  template <typename K>
  bool erase(const K& key, Value* removed = nullptr) {
    Slot* slot = const_cast<Slot*>(find_slot(key, slot_hash(key)));
    if (slot == nullptr) return false;
    if (removed != nullptr) *removed = std::move(slot->value);
    std::size_t hole = static_cast<std::size_t>(slot - slots_.get());
    // Backward shift: move each following entry of the probe run into the
    // hole when its home slot does not lie between the hole and itself.
    std::size_t next = (hole + 1) & mask();
    while (slots_[next].hash != 0) {
      const std::size_t home = static_cast<std::size_t>(slots_[next].hash) & mask();
      if (((next - home) & mask()) >= ((next - hole) & mask())) {
        slots_[hole] = std::move(slots_[next]);
        hole = next;
      }
      next = (next + 1) & mask();
    }
    slots_[hole] = Slot{};
    --size_;
    return true;
  }

  // Calls `visit(key, value)` for every entry, in slot order.
  template <typename Visit>
  void for_each(Visit&& visit) const {
    for (std::size_t i = 0; i < capacity_; ++i) {
      if (slots_[i].hash != 0) visit(slots_[i].key, slots_[i].value);
    }
  }

 private:
  static constexpr std::size_t kInitialCapacity = 8;

  std::size_t mask() const { return capacity_ - 1; }

  template <typename K>
  std::uint64_t slot_hash(const K& key) const {
    const std::uint64_t hash = static_cast<std::uint64_t>(hash_(key));
    return hash == 0 ? 1 : hash;
  }

  template <typename K>
  const Slot* find_slot(const K& key, std::uint64_t hash) const {
    if (size_ == 0) return nullptr;
    for (std::size_t i = static_cast<std::size_t>(hash) & mask();; i = (i + 1) & mask()) {
      const Slot& slot = slots_[i];
      if (slot.hash == 0) return nullptr;
      if (slot.hash == hash && equal_(slot.key, key)) return &slot;
    }
  }

  // The first empty slot of the probe run of `hash`, marked with it.
  Slot& place(std::uint64_t hash) {
    std::size_t i = static_cast<std::size_t>(hash) & mask();
    while (slots_[i].hash != 0) i = (i + 1) & mask();
    slots_[i].hash = hash;
    return slots_[i];
  }

  void grow() {
    const std::size_t old_capacity = capacity_;
    std::unique_ptr<Slot[]> old = std::move(slots_);
    capacity_ = old_capacity == 0 ? kInitialCapacity : old_capacity * 2;
    slots_ = std::make_unique<Slot[]>(capacity_);
    for (std::size_t i = 0; i < old_capacity; ++i) {
      if (old[i].hash == 0) continue;
      Slot& slot = place(old[i].hash);
      slot.key = std::move(old[i].key);
      slot.value = std::move(old[i].value);
    }
  }

  Hash hash_;
  Equal equal_;
  std::unique_ptr<Slot[]> slots_;
  std::size_t capacity_ = 0;
  std::size_t size_ = 0;
};

}  // namespace zelvo
