#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "common/invariant.h"

namespace zelvo {

// The selected row positions of a data chunk. The identity selection
// 0, 1, ..., n - 1 that every chunk starts with is kept as its size alone;
// other selections hold up to 64 positions inline without a heap allocation.
class SelectionVector {
 public:
  static constexpr std::size_t kInlineCapacity = 64;

  SelectionVector() = default;
  // The identity selection 0, 1, ..., count - 1.
  static SelectionVector identity(std::uint64_t count);

  std::size_t size() const { return size_; }
  std::uint32_t operator[](std::size_t index) const {
    ZELVO_CHECK(index < size_, "selection index past the end");
    if (identity_) return static_cast<std::uint32_t>(index);
    return size_ <= kInlineCapacity ? inline_[index] : heap_[index];
  }
  void push_back(std::uint32_t position);

 private:
  void materialize();

  bool identity_ = false;
  std::size_t size_ = 0;
  std::array<std::uint32_t, kInlineCapacity> inline_{};
  std::vector<std::uint32_t> heap_;
};

}  // namespace zelvo
