#include "planner/logical_plan.h"

namespace zelvo {

void describe_value(DebugWriter& w, ExtendDirection direction) {
  static constexpr std::string_view kNames[] = {"Forward", "Backward", "Both"};
  w.name(kNames[static_cast<std::size_t>(direction)]);
}

ExtendDirection extend_direction_of(Direction direction) {
  switch (direction) {
    case Direction::Outgoing: return ExtendDirection::Forward;
    case Direction::Incoming: return ExtendDirection::Backward;
    case Direction::Both: return ExtendDirection::Both;
  }
  return ExtendDirection::Both;
}

void LogicalPlan::describe(DebugWriter& w) const {
  std::visit(
      [&w](const auto& n) {
        using T = std::decay_t<decltype(n)>;
        if constexpr (std::is_same_v<T, plan::ScanNode>) {
          w.record("ScanNode").field("table_id", n.table_id).field("variable", n.variable).field("columns", n.columns).finish();
        } else if constexpr (std::is_same_v<T, plan::ScanRel>) {
          w.record("ScanRel")
              .field("table_id", n.table_id)
              .field("variable", n.variable)
              .field("src_variable", n.src_variable)
              .field("dst_variable", n.dst_variable)
              .finish();
        } else if constexpr (std::is_same_v<T, plan::Extend>) {
          w.record("Extend")
              .field("input", n.input)
              .field("rel_table_id", n.rel_table_id)
              .field("src_variable", n.src_variable)
              .field("dst_variable", n.dst_variable)
              .field("rel_variable", n.rel_variable)
              .field("direction", n.direction)
              .finish();
        } else if constexpr (std::is_same_v<T, plan::Filter>) {
          w.record("Filter").field("input", n.input).field("predicate", n.predicate).finish();
        } else if constexpr (std::is_same_v<T, plan::Project>) {
          w.record("Project").field("input", n.input).field("expressions", n.expressions).finish();
        } else if constexpr (std::is_same_v<T, plan::HashJoin>) {
          w.record("HashJoin").field("left", n.left).field("right", n.right).field("join_keys", n.join_keys).finish();
        } else if constexpr (std::is_same_v<T, plan::Aggregate>) {
          w.record("Aggregate")
              .field("input", n.input)
              .field("group_by", n.group_by)
              .field("aggregates", n.aggregates)
              .finish();
        } else if constexpr (std::is_same_v<T, plan::OrderBy>) {
          w.record("OrderBy").field("input", n.input).field("order_items", n.order_items).finish();
        } else if constexpr (std::is_same_v<T, plan::Limit>) {
          w.record("Limit").field("input", n.input).field("limit", n.limit).field("offset", n.offset).finish();
        } else if constexpr (std::is_same_v<T, plan::Distinct>) {
          w.record("Distinct").field("input", n.input).finish();
        } else if constexpr (std::is_same_v<T, plan::Union>) {
          w.record("Union").field("left", n.left).field("right", n.right).field("all", n.all).finish();
        } else if constexpr (std::is_same_v<T, plan::CreateNode>) {
          w.record("CreateNode")
              .field("table_id", n.table_id)
              .field("variable", n.variable)
              .field("properties", n.properties)
              .finish();
        } else if constexpr (std::is_same_v<T, plan::CreateRel>) {
          w.record("CreateRel")
              .field("table_id", n.table_id)
              .field("src_variable", n.src_variable)
              .field("dst_variable", n.dst_variable)
              .field("properties", n.properties)
              .finish();
        } else if constexpr (std::is_same_v<T, plan::Merge>) {
          w.record("Merge")
              .field("match_plan", n.match_plan)
              .field("create_plan", n.create_plan)
              .field("on_match_sets", n.on_match_sets)
              .field("on_create_sets", n.on_create_sets)
              .finish();
        } else if constexpr (std::is_same_v<T, plan::Delete>) {
          w.record("Delete").field("input", n.input).field("variables", n.variables).field("detach", n.detach).finish();
        } else if constexpr (std::is_same_v<T, plan::SetProperty>) {
          w.record("SetProperty")
              .field("input", n.input)
              .field("variable", n.variable)
              .field("property", n.property)
              .field("value", n.value)
              .finish();
        } else if constexpr (std::is_same_v<T, plan::Foreach>) {
          w.record("Foreach")
              .field("input", n.input)
              .field("variable", n.variable)
              .field("list_expr", n.list_expr)
              .field("body", n.body)
              .finish();
        } else if constexpr (std::is_same_v<T, plan::RecursiveExtend>) {
          w.record("RecursiveExtend")
              .field("input", n.input)
              .field("rel_table_id", n.rel_table_id)
              .field("src_variable", n.src_variable)
              .field("dst_variable", n.dst_variable)
              .field("rel_variable", n.rel_variable)
              .field("direction", n.direction)
              .field("min_hops", n.min_hops)
              .field("max_hops", n.max_hops)
              .finish();
        } else {
          w.name("Empty");
        }
      },
      node);
}

}  // namespace zelvo
