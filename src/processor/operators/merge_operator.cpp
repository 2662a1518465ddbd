#include "processor/operators/merge_operator.h"

#include "processor/evaluator.h"

namespace zelvo {

namespace {

// The assigned values are computed and dropped: storage holds no rows.
Status evaluate_assignments(const std::vector<PlanSetItem>& items, const DataChunk& chunk) {
  for (const PlanSetItem& item : items) ZELVO_TRY(evaluate(item.value, chunk));
  return {};
}

}  // namespace

Status MergeOperator::do_init() {
  done_ = false;
  matched_ = false;
  ZELVO_TRY(match_child_->init());
  return create_child_->init();
}

Result<std::optional<DataChunk>> MergeOperator::do_next_chunk() {
  if (done_) return std::nullopt;
  ZELVO_ASSIGN_OR_RETURN(std::optional<DataChunk> matched, match_child_->next_chunk());
  if (matched && matched->count() > 0) {
    matched_ = true;
    ZELVO_TRY(evaluate_assignments(on_match_sets_, *matched));
    done_ = true;
    return matched;
  }
  ZELVO_ASSIGN_OR_RETURN(std::optional<DataChunk> created, create_child_->next_chunk());
  if (created) ZELVO_TRY(evaluate_assignments(on_create_sets_, *created));
  done_ = true;
  return created;
}

}  // namespace zelvo
