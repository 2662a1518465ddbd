#include "optimizer/plan_rewrite.h"

namespace zelvo {

void push_filter_project_join_children(LogicalPlan& plan, PlanSlots& next) {
  if (auto* filter = plan.as<plan::Filter>()) {
    next.push(&filter->input);
  } else if (auto* project = plan.as<plan::Project>()) {
    next.push(&project->input);
  } else if (auto* join = plan.as<plan::HashJoin>()) {
    next.push(&join->right);
    next.push(&join->left);
  }
}

PlanPtr lift_project_above(PlanPtr parent, PlanPtr& parent_input) {
  PlanPtr project = std::move(parent_input);
  PlanPtr& project_input = project->as<plan::Project>()->input;
  parent_input = std::move(project_input);
  project_input = std::move(parent);
  return project;
}

}  // namespace zelvo
