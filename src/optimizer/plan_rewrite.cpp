#include "optimizer/plan_rewrite.h"

namespace zelvo {

PlanPtr lift_project_above(PlanPtr parent, PlanPtr& parent_input) {
  PlanPtr project = std::move(parent_input);
  PlanPtr& project_input = project->as<plan::Project>()->input;
  parent_input = std::move(project_input);
  project_input = std::move(parent);
  return project;
}

}  // namespace zelvo
