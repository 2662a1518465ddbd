#include "processor/operator_builder.h"

#include <memory>

#include "processor/executor.h"
#include "processor/operators/aggregate_operator.h"
#include "processor/operators/delete_operator.h"
#include "processor/operators/filter_operator.h"
#include "processor/operators/foreach_operator.h"
#include "processor/operators/limit_operator.h"
#include "processor/operators/merge_operator.h"
#include "processor/operators/order_by_operator.h"
#include "processor/operators/project_operator.h"
#include "processor/operators/recursive_extend_operator.h"
#include "processor/operators/scan_node_operator.h"
#include "processor/operators/set_property_operator.h"

namespace zelvo {

namespace {

Result<OperatorPtr> build_input(const PlanPtr& input) {
  ZELVO_CHECK(input != nullptr, "plan node without its input");
  return build_operator_tree(*input);
}

struct OperatorBuilder {
  Result<OperatorPtr> operator()(const plan::ScanNode& scan) const {
    return std::make_unique<ScanNodeOperator>(scan.columns, scan.table_id);
  }
  Result<OperatorPtr> operator()(const plan::Filter& filter) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr input, build_input(filter.input));
    return std::make_unique<FilterOperator>(filter.predicate, std::move(input));
  }
  Result<OperatorPtr> operator()(const plan::Project& project) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr input, build_input(project.input));
    return std::make_unique<ProjectOperator>(project.expressions, std::move(input));
  }
  Result<OperatorPtr> operator()(const plan::Aggregate& aggregate) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr input, build_input(aggregate.input));
    return std::make_unique<AggregateOperator>(aggregate.group_by, aggregate.aggregates, std::move(input));
  }
  Result<OperatorPtr> operator()(const plan::OrderBy& order_by) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr input, build_input(order_by.input));
    return std::make_unique<OrderByOperator>(order_by.order_items, std::move(input));
  }
  Result<OperatorPtr> operator()(const plan::Limit& limit) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr input, build_input(limit.input));
    return std::make_unique<LimitOperator>(std::move(input), limit.limit, limit.offset.value_or(0));
  }
  Result<OperatorPtr> operator()(const plan::Merge& merge) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr match, build_input(merge.match_plan));
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr create, build_input(merge.create_plan));
    return std::make_unique<MergeOperator>(std::move(match), std::move(create), merge.on_match_sets,
                                           merge.on_create_sets);
  }
  Result<OperatorPtr> operator()(const plan::Delete& del) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr input, build_input(del.input));
    return std::make_unique<DeleteOperator>(del.variables, std::move(input), del.detach);
  }
  Result<OperatorPtr> operator()(const plan::SetProperty& set) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr input, build_input(set.input));
    return std::make_unique<SetPropertyOperator>(std::move(input), set.variable, set.property, set.value);
  }
  Result<OperatorPtr> operator()(const plan::Foreach& foreach) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr input, build_input(foreach.input));
    return std::make_unique<ForeachOperator>(std::move(input), foreach.variable, foreach.list_expr, foreach.body);
  }
  Result<OperatorPtr> operator()(const plan::RecursiveExtend& extend) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr input, build_input(extend.input));
    RecursiveExtendOperator::Pattern pattern{extend.rel_table_id, extend.src_variable, extend.dst_variable,
                                             extend.rel_variable, extend.direction};
    return std::make_unique<RecursiveExtendOperator>(std::move(input), std::move(pattern), extend.min_hops,
                                                     extend.max_hops);
  }
  // Kinds without an operator of their own.
  Result<OperatorPtr> operator()(const plan::ScanRel& /*unused*/) const { return placeholder(); }
  Result<OperatorPtr> operator()(const plan::Extend& /*unused*/) const { return placeholder(); }
  Result<OperatorPtr> operator()(const plan::HashJoin& /*unused*/) const { return placeholder(); }
  Result<OperatorPtr> operator()(const plan::Distinct& /*unused*/) const { return placeholder(); }
  Result<OperatorPtr> operator()(const plan::Union& /*unused*/) const { return placeholder(); }
  Result<OperatorPtr> operator()(const plan::CreateNode& /*unused*/) const { return placeholder(); }
  Result<OperatorPtr> operator()(const plan::CreateRel& /*unused*/) const { return placeholder(); }
  Result<OperatorPtr> operator()(const plan::Empty& /*unused*/) const { return placeholder(); }

  static OperatorPtr placeholder() { return std::make_unique<ScanNodeOperator>(std::vector<ColumnId>{}, TableId{0}); }
};

}  // namespace

Result<OperatorPtr> build_operator_tree(const LogicalPlan& plan) { return std::visit(OperatorBuilder{}, plan.node); }

Result<OperatorPtr> Executor::build_physical_plan(const LogicalPlan& plan) const { return build_operator_tree(plan); }

}  // namespace zelvo
