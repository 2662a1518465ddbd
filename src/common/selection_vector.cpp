#include "common/selection_vector.h"

namespace zelvo {

SelectionVector SelectionVector::identity(std::uint64_t count) {
  SelectionVector selection;
  if (count > kInlineCapacity) selection.heap_.reserve(count);
  for (std::uint64_t i = 0; i < count; ++i) selection.push_back(static_cast<std::uint32_t>(i));
  return selection;
}

void SelectionVector::push_back(std::uint32_t position) {
  if (size_ < kInlineCapacity) {
    inline_[size_] = position;
  } else {
    if (size_ == kInlineCapacity) heap_.assign(inline_.begin(), inline_.end());
    heap_.push_back(position);
  }
  ++size_;
}

}  // namespace zelvo
