#include "planner/planner.h"

#include <type_traits>
#include <utility>

namespace zelvo {

namespace {

constexpr std::uint64_t kDefaultLimit = 100;
constexpr std::uint32_t kMinHopsDefault = 1;
constexpr std::uint32_t kMaxHopsDefault = 4294967295U;

PlanPtr empty_plan() { return LogicalPlan::make(plan::Empty{}); }

// Two plans side by side, as a cross product.
PlanPtr cross_product(PlanPtr left, PlanPtr right) {
  return LogicalPlan::make(plan::HashJoin{std::move(left), std::move(right), {}});
}

// `next` joined onto `current`, or `next` alone when there is no plan yet.
void join_into(PlanPtr& current, PlanPtr next) {
  current = current == nullptr ? std::move(next) : cross_product(std::move(current), std::move(next));
}

PlanPtr plan_lone_node(const BoundNodePattern& node) {
  if (!node.table_id.has_value()) return empty_plan();
  return LogicalPlan::make(plan::ScanNode{*node.table_id, node.variable, {}});
}

// The start node's scan, then one expansion per relationship step. Every
// step starts from the chain's start node; a step whose relationship or
// target node names no table, or that has no source variable, is skipped.
PlanPtr plan_chain(const BoundPatternChain& chain) {
  PlanPtr plan = plan_lone_node(chain.start);
  for (const auto& [rel, node] : chain.relationships) {
    const std::optional<std::string>& source = chain.start.variable.has_value() ? chain.start.variable : node.variable;
    if (!rel.table_id.has_value() || !source.has_value() || !node.table_id.has_value()) continue;
    std::string destination = node.variable.value_or(std::string());
    ExtendDirection direction = extend_direction_of(rel.direction);
    if (!rel.min_hops.has_value() && !rel.max_hops.has_value()) {
      plan = LogicalPlan::make(
          plan::Extend{std::move(plan), *rel.table_id, *source, std::move(destination), rel.variable, direction});
    } else {
      plan = LogicalPlan::make(plan::RecursiveExtend{std::move(plan), *rel.table_id, *source, std::move(destination),
                                                     rel.variable, direction, rel.min_hops.value_or(kMinHopsDefault),
                                                     rel.max_hops.value_or(kMaxHopsDefault)});
    }
  }
  return plan;
}

// The value of a LIMIT or SKIP that is an Int64 literal, read as unsigned.
std::optional<std::uint64_t> count_literal(const std::optional<BoundExpression>& expression) {
  if (!expression.has_value()) return std::nullopt;
  const auto* literal = expression->as<BoundExpression::Literal>();
  if (literal == nullptr || literal->value.kind() != ValueKind::Int64) return std::nullopt;
  return static_cast<std::uint64_t>(literal->value.as_int64());
}

// Parts of the bound query go into the plan through take<Query>: `Query` is
// const BoundQuery when the caller keeps the query (the parts are copied)
// and BoundQuery when it gives the query up (they are moved).
template <typename Query, typename Part>
decltype(auto) take(Part& part) {
  if constexpr (std::is_const_v<Query>) {
    return std::as_const(part);
  } else {
    return std::move(part);
  }
}

template <typename Query, typename Elements>
PlanPtr plan_create_node_of(Elements& elements) {
  for (auto& element : elements) {
    auto* node = std::get_if<BoundNodePattern>(&element.element);
    if (node == nullptr || !node->table_id.has_value()) continue;
    PropertyMap properties;
    if (node->properties.has_value()) properties = take<Query>(*node->properties);
    return LogicalPlan::make(plan::CreateNode{*node->table_id, node->variable, std::move(properties)});
  }
  return empty_plan();
}

template <typename Query, typename Expressions>
std::vector<std::string> collect_delete_variables_of(Expressions& expressions) {
  std::vector<std::string> variables;
  for (auto& expression : expressions) {
    if (auto* variable = std::get_if<BoundExpression::Variable>(&expression.node)) {
      variables.push_back(take<Query>(variable->name));
    }
  }
  return variables;
}

template <typename Query, typename Item>
std::optional<PlanSetItem> map_set_item_of(Item& item) {
  auto* assignment = std::get_if<BoundSetItem::Property>(&item.item);
  if (assignment == nullptr) return std::nullopt;
  auto* target = std::get_if<BoundExpression::Property>(&assignment->target.node);
  if (target == nullptr) return std::nullopt;
  auto* base = std::get_if<BoundExpression::Variable>(&target->base->node);
  if (base == nullptr) return std::nullopt;
  return PlanSetItem{take<Query>(base->name), take<Query>(target->property), take<Query>(assignment->value)};
}

template <typename Query, typename Items>
std::vector<PlanSetItem> map_merge_set_items_of(Items& items) {
  std::vector<PlanSetItem> mapped;
  for (auto& item : items) {
    if (std::optional<PlanSetItem> set = map_set_item_of<Query>(item)) mapped.push_back(std::move(*set));
  }
  return mapped;
}

template <typename Query, typename Items>
Result<std::vector<ProjectionPair>> map_return_items_of(Items& items) {
  std::vector<ProjectionPair> pairs;
  pairs.reserve(items.size());
  for (auto& item : items) {
    // The name is read before the expression may be moved away.
    std::string name;
    if (item.alias.has_value()) {
      name = take<Query>(*item.alias);
    } else {
      ZELVO_ASSIGN_OR_RETURN(name, name_return_item(item));
    }
    pairs.emplace_back(take<Query>(item.expression), std::move(name));
  }
  return pairs;
}

template <typename Query>
Result<PlannedQuery> plan_bound_query(Query& query) {
  PlanPtr current;  // null while no clause has produced a plan
  std::vector<OutputColumn> columns;

  for (auto& clause : query.match_clauses) {
    PlanPtr clause_plan = plan_match_pattern(clause.pattern);
    if (clause.where_clause.has_value()) {
      clause_plan = LogicalPlan::make(plan::Filter{std::move(clause_plan), take<Query>(*clause.where_clause)});
    }
    join_into(current, std::move(clause_plan));
  }

  // A query-level WHERE filters the MATCH plan; without MATCH it is not planned.
  if (!query.match_clauses.empty() && query.where_clause.has_value()) {
    current = LogicalPlan::make(plan::Filter{std::move(current), take<Query>(*query.where_clause)});
  }

  for (auto& clause : query.create_clauses) {
    current = plan_create_node_of<Query>(clause.pattern.elements);
  }

  if (query.merge_clause.has_value()) {
    auto& merge = *query.merge_clause;
    // The match plan reads the pattern's variables and tables only, so the
    // create plan may take its properties afterwards.
    PlanPtr match_plan = plan_match_pattern(merge.pattern.elements);
    PlanPtr create_plan = plan_create_node_of<Query>(merge.pattern.elements);
    current = LogicalPlan::make(plan::Merge{std::move(match_plan), std::move(create_plan),
                                            map_merge_set_items_of<Query>(merge.on_match),
                                            map_merge_set_items_of<Query>(merge.on_create)});
  }

  if (query.delete_clause.has_value() && current != nullptr) {
    current = LogicalPlan::make(plan::Delete{std::move(current),
                                             collect_delete_variables_of<Query>(query.delete_clause->expressions),
                                             query.delete_clause->detach});
  }

  for (auto& item : query.set_items) {
    if (current == nullptr) break;
    std::optional<PlanSetItem> set = map_set_item_of<Query>(item);
    if (!set.has_value()) continue;
    current = LogicalPlan::make(plan::SetProperty{std::move(current), std::move(set->variable),
                                                  std::move(set->property), std::move(set->value)});
  }

  for (auto& clause : query.foreach_clauses) {
    if (current == nullptr) break;
    current = LogicalPlan::make(plan::Foreach{std::move(current), take<Query>(clause.variable),
                                              take<Query>(clause.expression), take<Query>(clause.update_clauses)});
  }

  if (query.return_clause.has_value() && current != nullptr) {
    ZELVO_ASSIGN_OR_RETURN(std::vector<ProjectionPair> pairs, map_return_items_of<Query>(query.return_clause->items));
    columns.reserve(pairs.size());
    for (const ProjectionPair& pair : pairs) columns.push_back(OutputColumn{pair.second, LogicalType()});
    current = LogicalPlan::make(plan::Project{std::move(current), std::move(pairs)});
    if (query.return_clause->distinct) current = LogicalPlan::make(plan::Distinct{std::move(current)});
  }

  if (query.limit.has_value() && current != nullptr) {
    std::uint64_t limit = count_literal(query.limit).value_or(kDefaultLimit);
    current = LogicalPlan::make(plan::Limit{std::move(current), limit, count_literal(query.skip)});
  }

  return PlannedQuery{current != nullptr ? std::move(current) : empty_plan(), std::move(columns)};
}

}  // namespace

Result<PlannedQuery> Planner::plan(const BoundStatement& statement) const {
  const auto* query = statement.as<bound::Query>();
  if (query == nullptr) return PlannedQuery{empty_plan(), {}};
  return plan_query(query->query);
}

Result<PlannedQuery> Planner::plan_query(const BoundQuery& query) const { return plan_bound_query(query); }

Result<PlannedQuery> Planner::plan_query(BoundQuery&& query) const { return plan_bound_query(query); }

PlanPtr plan_match_pattern(const std::vector<BoundPatternElement>& elements) {
  PlanPtr pattern_plan;
  for (const BoundPatternElement& element : elements) {
    const BoundNodePattern* node = element.node();
    join_into(pattern_plan, node != nullptr ? plan_lone_node(*node) : plan_chain(*element.chain()));
  }
  return pattern_plan != nullptr ? std::move(pattern_plan) : empty_plan();
}

PlanPtr plan_create_node(const std::vector<BoundPatternElement>& elements) {
  return plan_create_node_of<const BoundQuery>(elements);
}

std::vector<std::string> collect_delete_variables(const std::vector<BoundExpression>& expressions) {
  return collect_delete_variables_of<const BoundQuery>(expressions);
}

std::optional<PlanSetItem> map_set_item(const BoundSetItem& item) { return map_set_item_of<const BoundQuery>(item); }

std::vector<PlanSetItem> map_merge_set_items(const std::vector<BoundSetItem>& items) {
  return map_merge_set_items_of<const BoundQuery>(items);
}

// Compact debug text of the expression; room for a typical one (a property
// of a variable) is made up front, so the name is built in one allocation.
Result<std::string> name_return_item(const BoundProjectionItem& item) {
  if (item.alias.has_value()) return *item.alias;
  constexpr std::size_t kTypicalNameLength = 64;
  std::string name;
  name.reserve(kTypicalNameLength);
  const DebugWriter::Stop stop = append_debug_text(name, item.expression, DebugWriter::Style::Compact);
  if (stop == DebugWriter::Stop::None) return name;
  return Error::planner(stack_stop_text(stop));
}

Result<std::vector<ProjectionPair>> map_return_items(const std::vector<BoundProjectionItem>& items) {
  return map_return_items_of<const BoundQuery>(items);
}

}  // namespace zelvo
