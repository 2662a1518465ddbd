#include "optimizer/remove_redundant_projection.h"

#include "optimizer/plan_rewrite.h"

namespace zelvo {

Result<PlanPtr> RemoveRedundantProjection::optimize(PlanPtr plan) const {
  ZELVO_TRY(rewrite_plan(plan, [](PlanPtr& slot, PlanSlots& next) -> Status {
    auto* project = slot->as<plan::Project>();
    if (project == nullptr) return {};
    if (project->input->as<plan::Project>() != nullptr) {
      slot = std::move(project->input);  // the inner Project is not visited
    } else {
      next.push(&project->input);
    }
    return {};
  }));
  return plan;
}

}  // namespace zelvo
