#include "processor/operators/filter_operator.h"

#include "processor/cell_reading.h"
#include "processor/evaluator.h"
#include "processor/operators/row_chunks.h"

namespace zelvo {

Result<std::optional<DataChunk>> FilterOperator::do_next_chunk() {
  while (true) {
    ZELVO_ASSIGN_OR_RETURN(std::optional<DataChunk> input, child_->next_chunk());
    if (!input) return std::nullopt;
    if (input->count() == 0) continue;
    ZELVO_ASSIGN_OR_RETURN(const Vector predicate, evaluate(predicate_, *input));
    kept_rows_.clear();
    for (std::uint64_t row = 0; row < input->count(); ++row) {
      const Value keep = read_cell(predicate, row);
      if (keep.kind() == ValueKind::Bool && keep.as_bool()) kept_rows_.push_back(row);
    }
    if (kept_rows_.empty()) continue;
    // Every row kept: the chunk goes on as it is.
    if (kept_rows_.size() == input->count()) return input;
    return select_rows(*input, kept_rows_);
  }
}

}  // namespace zelvo
