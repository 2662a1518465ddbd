#include "common/selection_vector.h"

namespace zelvo {

SelectionVector SelectionVector::identity(std::uint64_t count) {
  SelectionVector selection;
  selection.identity_ = true;
  selection.size_ = static_cast<std::size_t>(count);
  return selection;
}

void SelectionVector::materialize() {
  identity_ = false;
  if (size_ <= kInlineCapacity) {
    for (std::size_t i = 0; i < size_; ++i) inline_[i] = static_cast<std::uint32_t>(i);
  } else {
    heap_.resize(size_);
    for (std::size_t i = 0; i < size_; ++i) heap_[i] = static_cast<std::uint32_t>(i);
  }
}

void SelectionVector::push_back(std::uint32_t position) {
  if (identity_) {
    if (position == size_) {
      ++size_;  // still the identity
      return;
    }
    materialize();
  }
  if (size_ < kInlineCapacity) {
    inline_[size_] = position;
  } else {
    if (size_ == kInlineCapacity) heap_.assign(inline_.begin(), inline_.end());
    heap_.push_back(position);
  }
  ++size_;
}

}  // namespace zelvo
