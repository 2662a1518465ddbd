#include "processor/operators/delete_operator.h"

#include "processor/operators/row_chunks.h"

namespace zelvo {

Status DeleteOperator::do_init() {
  count_ = 0;
  done_ = false;
  return child_->init();
}

Result<std::optional<DataChunk>> DeleteOperator::do_next_chunk() {
  if (done_) return std::nullopt;
  while (true) {
    ZELVO_ASSIGN_OR_RETURN(std::optional<DataChunk> input, child_->next_chunk());
    if (!input) break;
    count_ += input->count();
  }
  done_ = true;
  return count_chunk(count_);
}

}  // namespace zelvo
