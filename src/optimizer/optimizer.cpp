#include "optimizer/optimizer.h"

#include "optimizer/constant_folding.h"
#include "optimizer/identity_rules.h"
#include "optimizer/predicate_simplification.h"
#include "optimizer/pushdown_rules.h"
#include "optimizer/remove_redundant_projection.h"

namespace zelvo {

namespace {

// The rules hold no state, so every optimizer shares one instance of each.
const std::vector<std::shared_ptr<const OptimizerRule>>& default_rules() {
  static const std::vector<std::shared_ptr<const OptimizerRule>> rules = {
      std::make_shared<const ConstantFolding>(), std::make_shared<const PredicateSimplification>(),
      std::make_shared<const FilterPushdown>(),  std::make_shared<const ProjectionPushdown>(),
      std::make_shared<const LimitPushdown>(),   std::make_shared<const RemoveRedundantProjection>(),
      std::make_shared<const JoinReorder>(),
  };
  return rules;
}

}  // namespace

Optimizer::Optimizer() : rules_(default_rules()) {}

Result<PlannedQuery> Optimizer::optimize(PlannedQuery query) const {
  for (const auto& rule : rules_) {
    ZELVO_ASSIGN_OR_RETURN(query.plan, rule->optimize(std::move(query.plan)));
  }
  return query;
}

}  // namespace zelvo
