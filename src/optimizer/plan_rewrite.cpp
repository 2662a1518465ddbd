#include "optimizer/plan_rewrite.h"

namespace zelvo {

Status optimize_child(const OptimizerRule& rule, PlanPtr& child) {
  ZELVO_ASSIGN_OR_RETURN(child, rule.optimize(std::move(child)));
  return {};
}

Result<PlanPtr> optimize_filter_project_join_children(const OptimizerRule& rule, PlanPtr plan) {
  if (auto* filter = plan->as<plan::Filter>()) {
    ZELVO_TRY(optimize_child(rule, filter->input));
  } else if (auto* project = plan->as<plan::Project>()) {
    ZELVO_TRY(optimize_child(rule, project->input));
  } else if (auto* join = plan->as<plan::HashJoin>()) {
    ZELVO_TRY(optimize_child(rule, join->left));
    ZELVO_TRY(optimize_child(rule, join->right));
  }
  return plan;
}

PlanPtr lift_project_above(PlanPtr parent, PlanPtr& parent_input) {
  PlanPtr project = std::move(parent_input);
  PlanPtr& project_input = project->as<plan::Project>()->input;
  parent_input = std::move(project_input);
  project_input = std::move(parent);
  return project;
}

}  // namespace zelvo
