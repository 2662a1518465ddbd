#include "planner/logical_plan.h"

#include "common/chain_delete.h"

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

namespace {

// The slot of a plan node's first input, or nullptr for leaves.
template <typename Node>
auto* first_input_of(Node& node) {
  if constexpr (requires { node.input; }) {
    return &node.input;
  } else if constexpr (requires { node.left; }) {
    return &node.left;
  } else if constexpr (requires { node.match_plan; }) {
    return &node.match_plan;
  } else {
    return static_cast<std::conditional_t<std::is_const_v<Node>, const PlanPtr*, PlanPtr*>>(nullptr);
  }
}

// The name of a plan node's first input field.
template <typename Node>
constexpr std::string_view first_input_name() {
  if constexpr (requires(Node & node) { node.input; }) {
    return "input";
  } else if constexpr (requires(Node & node) { node.left; }) {
    return "left";
  } else {
    return "match_plan";
  }
}

// Record names, in LogicalPlan::Kind order.
constexpr std::string_view kPlanNames[] = {
    "ScanNode", "ScanRel",     "Extend",   "Filter",          "Project",    "HashJoin",  "Aggregate",
    "OrderBy",  "Limit",       "Distinct", "Union",           "CreateNode", "CreateRel", "Merge",
    "Delete",   "SetProperty", "Foreach",  "RecursiveExtend", "Empty",
};
static_assert(std::size(kPlanNames) == std::variant_size_v<LogicalPlan::Node>);

// The fields of a plan node with inputs after its first input; for an
// expansion (Extend or RecursiveExtend):
template <typename Expansion>
DebugWriter::Record& describe_expansion(DebugWriter::Record& r, const Expansion& n) {
  return r.field("rel_table_id", n.rel_table_id)
      .field("src_variable", n.src_variable)
      .field("dst_variable", n.dst_variable)
      .field("rel_variable", n.rel_variable)
      .field("direction", n.direction);
}
void describe_rest(DebugWriter::Record& r, const plan::Extend& n) { describe_expansion(r, n); }
void describe_rest(DebugWriter::Record& r, const plan::Filter& n) { r.field("predicate", n.predicate); }
void describe_rest(DebugWriter::Record& r, const plan::Project& n) { r.field("expressions", n.expressions); }
void describe_rest(DebugWriter::Record& r, const plan::HashJoin& n) {
  r.field("right", n.right).field("join_keys", n.join_keys);
}
void describe_rest(DebugWriter::Record& r, const plan::Aggregate& n) {
  r.field("group_by", n.group_by).field("aggregates", n.aggregates);
}
void describe_rest(DebugWriter::Record& r, const plan::OrderBy& n) { r.field("order_items", n.order_items); }
void describe_rest(DebugWriter::Record& r, const plan::Limit& n) {
  r.field("limit", n.limit).field("offset", n.offset);
}
void describe_rest(DebugWriter::Record& /*r*/, const plan::Distinct& /*n*/) {}
void describe_rest(DebugWriter::Record& r, const plan::Union& n) { r.field("right", n.right).field("all", n.all); }
void describe_rest(DebugWriter::Record& r, const plan::Merge& n) {
  r.field("create_plan", n.create_plan)
      .field("on_match_sets", n.on_match_sets)
      .field("on_create_sets", n.on_create_sets);
}
void describe_rest(DebugWriter::Record& r, const plan::Delete& n) {
  r.field("variables", n.variables).field("detach", n.detach);
}
void describe_rest(DebugWriter::Record& r, const plan::SetProperty& n) {
  r.field("variable", n.variable).field("property", n.property).field("value", n.value);
}
void describe_rest(DebugWriter::Record& r, const plan::Foreach& n) {
  r.field("variable", n.variable).field("list_expr", n.list_expr).field("body", n.body);
}
void describe_rest(DebugWriter::Record& r, const plan::RecursiveExtend& n) {
  describe_expansion(r, n).field("min_hops", n.min_hops).field("max_hops", n.max_hops);
}

// Plan nodes without inputs.
void describe_leaf(DebugWriter& w, const plan::ScanNode& n) {
  w.record("ScanNode").field("table_id", n.table_id).field("variable", n.variable).field("columns", n.columns).finish();
}
void describe_leaf(DebugWriter& w, const plan::ScanRel& n) {
  w.record("ScanRel")
      .field("table_id", n.table_id)
      .field("variable", n.variable)
      .field("src_variable", n.src_variable)
      .field("dst_variable", n.dst_variable)
      .finish();
}
void describe_leaf(DebugWriter& w, const plan::CreateNode& n) {
  w.record("CreateNode")
      .field("table_id", n.table_id)
      .field("variable", n.variable)
      .field("properties", n.properties)
      .finish();
}
void describe_leaf(DebugWriter& w, const plan::CreateRel& n) {
  w.record("CreateRel")
      .field("table_id", n.table_id)
      .field("src_variable", n.src_variable)
      .field("dst_variable", n.dst_variable)
      .field("properties", n.properties)
      .finish();
}
void describe_leaf(DebugWriter& w, const plan::Empty& /*n*/) { w.name("Empty"); }

// The shape of plan records for DebugWriter::chain: every node with inputs
// chains through its first one.
struct DescribeLink {
  const LogicalPlan* next(const LogicalPlan& plan, DebugWriter::ChainHead& head) const {
    return std::visit(
        [&head, &plan](const auto& n) -> const LogicalPlan* {
          using T = std::decay_t<decltype(n)>;
          const PlanPtr* input = first_input_of(n);
          if (input == nullptr) return nullptr;
          head = {kPlanNames[plan.node.index()], first_input_name<T>()};
          return input->get();
        },
        plan.node);
  }
  void rest(DebugWriter::Record& record, const LogicalPlan& plan) const {
    std::visit(
        [&record](const auto& n) {
          if constexpr (requires { describe_rest(record, n); }) describe_rest(record, n);
        },
        plan.node);
  }
  void end(DebugWriter& w, const LogicalPlan& plan) const {
    std::visit(
        [&w](const auto& n) {
          if constexpr (requires { describe_leaf(w, n); }) describe_leaf(w, n);
        },
        plan.node);
  }
};

}  // namespace

PlanPtr* LogicalPlan::first_input() {
  return std::visit([](auto& n) -> PlanPtr* { return first_input_of(n); }, node);
}

const PlanPtr* LogicalPlan::first_input() const {
  return std::visit([](const auto& n) -> const PlanPtr* { return first_input_of(n); }, node);
}

void LogicalPlan::describe(DebugWriter& w) const { w.chain(*this, DescribeLink{}); }

void PlanDeleter::operator()(LogicalPlan* plan) const noexcept {
  delete_chain(plan, [](LogicalPlan& node) -> LogicalPlan* {
    PlanPtr* input = node.first_input();
    return input != nullptr ? input->release() : nullptr;
  });
}

}  // namespace zelvo
