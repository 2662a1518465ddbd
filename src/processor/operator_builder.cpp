#include "processor/operator_builder.h"

#include <memory>
#include <type_traits>

#include "common/stack_guard.h"

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

// Builds from a plan that stays (`Plan` is const LogicalPlan: every operator
// copies what it needs) or from one that is discarded afterwards (`Plan` is
// LogicalPlan: expressions and names are moved out of it).
template <typename Plan>
struct OperatorBuilder {
  static constexpr bool kCopies = std::is_const_v<Plan>;
  template <typename T>
  using Node = std::conditional_t<kCopies, const T, T>;

  // A part of a plan node as an operator's constructor takes it: copied or moved.
  template <typename T>
  static decltype(auto) pass(T& part) {
    if constexpr (kCopies) {
      return static_cast<const T&>(part);
    } else {
      return static_cast<T&&>(part);
    }
  }

  // One level of recursion per plan level below.
  static Result<OperatorPtr> build(Plan& plan) {
    if (!stack_has_room()) return Error::execution(std::string(kTooLarge));
    return std::visit(OperatorBuilder{}, plan.node);
  }
  static Result<OperatorPtr> build_input(const PlanPtr& input) {
    ZELVO_CHECK(input != nullptr, "plan node without its input");
    return build(*input);
  }

  Result<OperatorPtr> operator()(Node<plan::ScanNode>& scan) const {
    return std::make_unique<ScanNodeOperator>(pass(scan.columns), scan.table_id);
  }
  Result<OperatorPtr> operator()(Node<plan::Filter>& filter) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr input, build_input(filter.input));
    return std::make_unique<FilterOperator>(pass(filter.predicate), std::move(input));
  }
  Result<OperatorPtr> operator()(Node<plan::Project>& project) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr input, build_input(project.input));
    return std::make_unique<ProjectOperator>(pass(project.expressions), std::move(input));
  }
  Result<OperatorPtr> operator()(Node<plan::Aggregate>& aggregate) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr input, build_input(aggregate.input));
    return std::make_unique<AggregateOperator>(pass(aggregate.group_by), pass(aggregate.aggregates), std::move(input));
  }
  Result<OperatorPtr> operator()(Node<plan::OrderBy>& order_by) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr input, build_input(order_by.input));
    return std::make_unique<OrderByOperator>(pass(order_by.order_items), std::move(input));
  }
  Result<OperatorPtr> operator()(Node<plan::Limit>& limit) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr input, build_input(limit.input));
    return std::make_unique<LimitOperator>(std::move(input), limit.limit, limit.offset.value_or(0));
  }
  Result<OperatorPtr> operator()(Node<plan::Merge>& merge) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr match, build_input(merge.match_plan));
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr create, build_input(merge.create_plan));
    return std::make_unique<MergeOperator>(std::move(match), std::move(create), pass(merge.on_match_sets),
                                           pass(merge.on_create_sets));
  }
  Result<OperatorPtr> operator()(Node<plan::Delete>& del) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr input, build_input(del.input));
    return std::make_unique<DeleteOperator>(pass(del.variables), std::move(input), del.detach);
  }
  Result<OperatorPtr> operator()(Node<plan::SetProperty>& set) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr input, build_input(set.input));
    return std::make_unique<SetPropertyOperator>(std::move(input), pass(set.variable), pass(set.property),
                                                 pass(set.value));
  }
  Result<OperatorPtr> operator()(Node<plan::Foreach>& foreach) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr input, build_input(foreach.input));
    return std::make_unique<ForeachOperator>(std::move(input), pass(foreach.variable), pass(foreach.list_expr),
                                             pass(foreach.body));
  }
  Result<OperatorPtr> operator()(Node<plan::RecursiveExtend>& extend) const {
    ZELVO_ASSIGN_OR_RETURN(OperatorPtr input, build_input(extend.input));
    RecursiveExtendOperator::Pattern pattern{extend.rel_table_id, pass(extend.src_variable), pass(extend.dst_variable),
                                             pass(extend.rel_variable), extend.direction};
    return std::make_unique<RecursiveExtendOperator>(std::move(input), std::move(pattern), extend.min_hops,
                                                     extend.max_hops);
  }
  // Kinds without an operator of their own.
  Result<OperatorPtr> operator()(Node<plan::ScanRel>& /*unused*/) const { return placeholder(); }
  Result<OperatorPtr> operator()(Node<plan::Extend>& /*unused*/) const { return placeholder(); }
  Result<OperatorPtr> operator()(Node<plan::HashJoin>& /*unused*/) const { return placeholder(); }
  Result<OperatorPtr> operator()(Node<plan::Distinct>& /*unused*/) const { return placeholder(); }
  Result<OperatorPtr> operator()(Node<plan::Union>& /*unused*/) const { return placeholder(); }
  Result<OperatorPtr> operator()(Node<plan::CreateNode>& /*unused*/) const { return placeholder(); }
  Result<OperatorPtr> operator()(Node<plan::CreateRel>& /*unused*/) const { return placeholder(); }
  Result<OperatorPtr> operator()(Node<plan::Empty>& /*unused*/) const { return placeholder(); }

  static OperatorPtr placeholder() { return std::make_unique<ScanNodeOperator>(std::vector<ColumnId>{}, TableId{0}); }
};

}  // namespace

Result<OperatorPtr> build_operator_tree(const LogicalPlan& plan) {
  return OperatorBuilder<const LogicalPlan>::build(plan);
}

Result<OperatorPtr> build_operator_tree(LogicalPlan&& plan) { return OperatorBuilder<LogicalPlan>::build(plan); }

Result<OperatorPtr> Executor::build_physical_plan(const LogicalPlan& plan) const { return build_operator_tree(plan); }

}  // namespace zelvo
