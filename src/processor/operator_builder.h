#pragma once

#include "common/result.h"
#include "planner/logical_plan.h"
#include "processor/physical_operator.h"

namespace zelvo {

// The operator tree of a logical plan, inputs built first; the plan is only
// read and every operator copies what it needs. Plan kinds without an
// operator of their own (ScanRel, Extend, HashJoin, Distinct, Union,
// CreateNode, CreateRel, Empty) become a scan of table 0 yielding one empty
// chunk: their inputs are neither built nor run.
Result<OperatorPtr> build_operator_tree(const LogicalPlan& plan);
// The same tree from a plan that is discarded afterwards: the operators take
// the plan's expressions and names over instead of copying them.
Result<OperatorPtr> build_operator_tree(LogicalPlan&& plan);

}  // namespace zelvo
