#pragma once

#include <vector>

#include "planner/logical_plan.h"
#include "processor/physical_operator.h"

namespace zelvo {

// Evaluates its expressions over each input chunk: one output chunk per
// input chunk, with one column per expression and the input's row count.
// The column names are the plan's business, not the operator's.
class ProjectOperator final : public PhysicalOperator {
 public:
  ProjectOperator(std::vector<ProjectionPair> expressions, OperatorPtr child)
      : expressions_(std::move(expressions)), child_(std::move(child)) {}

 private:
  Status do_init() override { return child_->init(); }
  Result<std::optional<DataChunk>> do_next_chunk() override;
  Status do_reset() override { return child_->reset(); }

  std::vector<ProjectionPair> expressions_;
  OperatorPtr child_;
};

}  // namespace zelvo
