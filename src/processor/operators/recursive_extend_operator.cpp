#include "processor/operators/recursive_extend_operator.h"

#include <algorithm>

namespace zelvo {

Status RecursiveExtendOperator::do_init() {
  started_ = false;
  input_.clear();
  rounds_ = 0;
  round_ = 0;
  position_ = 0;
  return child_->init();
}

Status RecursiveExtendOperator::drain_input() {
  while (true) {
    ZELVO_ASSIGN_OR_RETURN(std::optional<DataChunk> chunk, child_->next_chunk());
    if (!chunk) break;
    if (chunk->count() > 0) input_.push_back(std::move(*chunk));
  }
  const std::uint32_t cap = std::min(max_hops_, kHopCap);
  rounds_ = min_hops_ <= cap ? cap - min_hops_ + 1 : 0;
  started_ = true;
  return {};
}

Result<std::optional<DataChunk>> RecursiveExtendOperator::do_next_chunk() {
  if (!started_) ZELVO_TRY(drain_input());
  if (round_ >= rounds_ || input_.empty()) return std::nullopt;
  // Copies for every round but the last, which hands the chunks over.
  const bool last_round = round_ + 1 == rounds_;
  DataChunk chunk = last_round ? std::move(input_[position_]) : input_[position_];
  if (++position_ == input_.size()) {
    position_ = 0;
    ++round_;
  }
  return chunk;
}

}  // namespace zelvo
