#pragma once

#include <cstdint>
#include <vector>

#include "binder/bound_expression.h"
#include "processor/physical_operator.h"

namespace zelvo {

// Keeps the rows whose predicate is Bool true (Null, false and any other
// value drop the row). A chunk that keeps no rows never leaves the filter:
// the filter pulls on until a chunk keeps a row or the input ends.
class FilterOperator final : public PhysicalOperator {
 public:
  FilterOperator(BoundExpression predicate, OperatorPtr child)
      : predicate_(std::move(predicate)), child_(std::move(child)) {}

 private:
  Status do_init() override { return child_->init(); }
  Result<std::optional<DataChunk>> do_next_chunk() override;
  Status do_reset() override { return child_->reset(); }

  BoundExpression predicate_;
  OperatorPtr child_;
  std::vector<std::uint64_t> kept_rows_;  // reused across chunks
};

}  // namespace zelvo
