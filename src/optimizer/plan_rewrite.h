#pragma once

#include "common/result.h"
#include "optimizer/optimizer.h"
#include "planner/logical_plan.h"

// Shared steps of the rewrite rules. A rule rebuilds the node kinds it
// visits around its own result on their children, and returns every other
// kind unchanged without looking below it.

namespace zelvo {

// Replaces `child` by the rule's rewrite of it.
Status optimize_child(const OptimizerRule& rule, PlanPtr& child);

// A Filter, Project or HashJoin with its children rewritten by the rule;
// any other kind unchanged.
Result<PlanPtr> optimize_filter_project_join_children(const OptimizerRule& rule, PlanPtr plan);

// `parent` (a Filter or Limit) whose input slot `parent_input` holds a
// Project: returns that Project with `parent` moved between it and its input.
PlanPtr lift_project_above(PlanPtr parent, PlanPtr& parent_input);

}  // namespace zelvo
