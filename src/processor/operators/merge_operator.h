#pragma once

#include <vector>

#include "planner/logical_plan.h"
#include "processor/physical_operator.h"

namespace zelvo {

// MERGE: the first chunk of the match input when it has rows (the ON MATCH
// values are evaluated over it), otherwise the first chunk of the create
// input (the ON CREATE values are evaluated over it), then the end. Each
// input is pulled at most once; nothing is written.
class MergeOperator final : public PhysicalOperator {
 public:
  MergeOperator(OperatorPtr match_child, OperatorPtr create_child, std::vector<PlanSetItem> on_match_sets,
                std::vector<PlanSetItem> on_create_sets)
      : on_match_sets_(std::move(on_match_sets)),
        on_create_sets_(std::move(on_create_sets)),
        match_child_(std::move(match_child)),
        create_child_(std::move(create_child)) {}

  // Whether the last run found a match.
  bool matched() const { return matched_; }

 private:
  Status do_init() override;
  Result<std::optional<DataChunk>> do_next_chunk() override;
  Status do_reset() override { return do_init(); }

  std::vector<PlanSetItem> on_match_sets_;
  std::vector<PlanSetItem> on_create_sets_;
  OperatorPtr match_child_;
  OperatorPtr create_child_;
  bool done_ = false;
  bool matched_ = false;
};

}  // namespace zelvo
