#include "processor/operators/foreach_operator.h"

#include "processor/evaluator.h"

namespace zelvo {

Status ForeachOperator::do_init() {
  done_ = false;
  return child_->init();
}

Result<std::optional<DataChunk>> ForeachOperator::do_next_chunk() {
  if (done_) return std::nullopt;
  ZELVO_ASSIGN_OR_RETURN(std::optional<DataChunk> input, child_->next_chunk());
  if (!input) {
    done_ = true;
    return std::nullopt;
  }
  ZELVO_TRY(evaluate(list_expr_, *input));
  return input;
}

}  // namespace zelvo
