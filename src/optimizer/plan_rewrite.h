#pragma once

#include "common/inline_stack.h"
#include "common/result.h"
#include "optimizer/optimizer.h"
#include "planner/logical_plan.h"

// Shared steps of the rewrite rules. A rule rewrites the node kinds it
// visits and goes on to their children; every other kind is left unchanged
// without looking below it. Plans are as deep as a statement is long (one
// level per clause, pattern element or SET item), so rules walk them by a
// loop over the slots still to visit rather than by recursion.

namespace zelvo {

// The slots of a plan still to visit.
using PlanSlots = InlineStack<PlanPtr*>;

// Visits `root` and then the slots each visit adds, depth first:
// `visit(PlanPtr& slot, PlanSlots& next)` rewrites the node in `slot` (it
// may put another node there) and pushes the slots to visit after it, the
// one to visit first last. The first error ends the walk.
template <typename Visit>
Status rewrite_plan(PlanPtr& root, Visit&& visit) {
  PlanSlots pending;
  pending.push(&root);
  while (!pending.empty()) {
    PlanPtr& slot = *pending.pop();
    ZELVO_TRY(visit(slot, pending));
  }
  return {};
}

// Pushes the inputs of a Filter or Project, or both sides of a HashJoin
// (the left one visited first); nothing for other kinds.
inline void push_filter_project_join_children(LogicalPlan& plan, PlanSlots& next) {
  if (auto* filter = plan.as<plan::Filter>()) {
    next.push(&filter->input);
  } else if (auto* project = plan.as<plan::Project>()) {
    next.push(&project->input);
  } else if (auto* join = plan.as<plan::HashJoin>()) {
    next.push(&join->right);
    next.push(&join->left);
  }
}

// `parent` (a Filter or Limit) whose input slot `parent_input` holds a
// Project: returns that Project with `parent` moved between it and its input.
PlanPtr lift_project_above(PlanPtr parent, PlanPtr& parent_input);

}  // namespace zelvo
