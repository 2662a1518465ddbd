#include "optimizer/remove_redundant_projection.h"

#include "optimizer/plan_rewrite.h"

namespace zelvo {

Result<PlanPtr> RemoveRedundantProjection::optimize(PlanPtr plan) const {
  auto* project = plan->as<plan::Project>();
  if (project == nullptr) return plan;
  if (project->input->as<plan::Project>() != nullptr) return std::move(project->input);
  ZELVO_TRY(optimize_child(*this, project->input));
  return plan;
}

}  // namespace zelvo
