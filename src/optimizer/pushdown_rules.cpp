#include "optimizer/pushdown_rules.h"

#include "optimizer/plan_rewrite.h"

namespace zelvo {

namespace {

bool is_project(const PlanPtr& plan) { return plan->as<plan::Project>() != nullptr; }

}  // namespace

// Once a Filter has been moved below a Project, nothing under it is visited.
Result<PlanPtr> FilterPushdown::optimize(PlanPtr plan) const {
  ZELVO_TRY(rewrite_plan(plan, [](PlanPtr& slot, PlanSlots& next) -> Status {
    if (auto* filter = slot->as<plan::Filter>(); filter != nullptr && is_project(filter->input)) {
      slot = lift_project_above(std::move(slot), filter->input);
      return {};
    }
    push_filter_project_join_children(*slot, next);
    return {};
  }));
  return plan;
}

// Once a Limit has been moved below a Project, nothing under it is visited.
Result<PlanPtr> LimitPushdown::optimize(PlanPtr plan) const {
  ZELVO_TRY(rewrite_plan(plan, [](PlanPtr& slot, PlanSlots& next) -> Status {
    if (auto* limit = slot->as<plan::Limit>()) {
      if (is_project(limit->input)) {
        slot = lift_project_above(std::move(slot), limit->input);
      } else {
        next.push(&limit->input);
      }
      return {};
    }
    push_filter_project_join_children(*slot, next);
    return {};
  }));
  return plan;
}

}  // namespace zelvo
