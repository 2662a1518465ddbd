#include "processor/operators/limit_operator.h"

#include <algorithm>

#include "processor/operators/row_chunks.h"

namespace zelvo {

Status LimitOperator::do_init() {
  returned_ = 0;
  skipped_ = 0;
  return child_->init();
}

Result<std::optional<DataChunk>> LimitOperator::do_next_chunk() {
  if (returned_ >= limit_) return std::nullopt;
  while (true) {
    ZELVO_ASSIGN_OR_RETURN(std::optional<DataChunk> input, child_->next_chunk());
    if (!input) return std::nullopt;
    const std::uint64_t rows = input->count();
    std::uint64_t first = 0;  // the first row past the offset
    if (skipped_ < offset_) {
      first = std::min(offset_ - skipped_, rows);
      skipped_ += first;
      if (first == rows) continue;  // wholly inside the offset
    }
    const std::uint64_t taken = std::min(limit_ - returned_, rows - first);
    returned_ += taken;
    if (first == 0 && taken == rows) return input;
    return slice_rows(*input, first, taken);
  }
}

}  // namespace zelvo
