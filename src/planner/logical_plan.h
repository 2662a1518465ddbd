#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "binder/bound_expression.h"
#include "binder/bound_query.h"
#include "common/debug_writer.h"
#include "common/ids.h"
#include "common/logical_type.h"

namespace zelvo {

// The direction of an expansion, taken from a pattern's Direction by position.
enum class ExtendDirection : std::uint8_t { Forward, Backward, Both };

void describe_value(DebugWriter& w, ExtendDirection direction);
ExtendDirection extend_direction_of(Direction direction);

// SET variable.property = value, inside MERGE.
struct PlanSetItem {
  std::string variable;
  std::string property;
  BoundExpression value;

  void describe(DebugWriter& w) const { w.tuple("").item(variable).item(property).item(value).finish(); }
};

// A projected expression and its column name.
using ProjectionPair = std::pair<BoundExpression, std::string>;
// Left and right join keys.
using JoinKeyPair = std::pair<std::string, std::string>;

struct LogicalPlan;

// Deletes a plan together with the chain of inputs below it (first inputs:
// a Filter's input, a HashJoin's left side, ...) by a loop, so that a plan
// as deep as the statement's clauses make it costs no stack to destroy.
struct PlanDeleter {
  void operator()(LogicalPlan* plan) const noexcept;
};
using PlanPtr = std::unique_ptr<LogicalPlan, PlanDeleter>;

namespace plan {

struct ScanNode {
  TableId table_id;
  std::optional<std::string> variable;
  std::vector<ColumnId> columns;
};
struct ScanRel {
  TableId table_id;
  std::optional<std::string> variable;
  std::string src_variable;
  std::string dst_variable;
};
struct Extend {
  PlanPtr input;
  TableId rel_table_id;
  std::string src_variable;
  std::string dst_variable;
  std::optional<std::string> rel_variable;
  ExtendDirection direction = ExtendDirection::Forward;
};
struct Filter {
  PlanPtr input;
  BoundExpression predicate;
};
struct Project {
  PlanPtr input;
  std::vector<ProjectionPair> expressions;
};
struct HashJoin {
  PlanPtr left;
  PlanPtr right;
  std::vector<JoinKeyPair> join_keys;
};
struct Aggregate {
  PlanPtr input;
  std::vector<BoundExpression> group_by;
  std::vector<AggregateExpr> aggregates;
};
struct OrderBy {
  PlanPtr input;
  std::vector<BoundOrderItem> order_items;
};
struct Limit {
  PlanPtr input;
  std::uint64_t limit = 0;
  std::optional<std::uint64_t> offset;
};
struct Distinct {
  PlanPtr input;
};
struct Union {
  PlanPtr left;
  PlanPtr right;
  bool all = false;
};
struct CreateNode {
  TableId table_id;
  std::optional<std::string> variable;
  PropertyMap properties;
};
struct CreateRel {
  TableId table_id;
  std::string src_variable;
  std::string dst_variable;
  PropertyMap properties;
};
struct Merge {
  PlanPtr match_plan;
  PlanPtr create_plan;
  std::vector<PlanSetItem> on_match_sets;
  std::vector<PlanSetItem> on_create_sets;
};
struct Delete {
  PlanPtr input;
  std::vector<std::string> variables;
  bool detach = false;
};
struct SetProperty {
  PlanPtr input;
  std::string variable;
  std::string property;
  BoundExpression value;
};
struct Foreach {
  PlanPtr input;
  std::string variable;
  BoundExpression list_expr;
  std::vector<BoundUpdateClause> body;
};
struct RecursiveExtend {
  PlanPtr input;
  TableId rel_table_id;
  std::string src_variable;
  std::string dst_variable;
  std::optional<std::string> rel_variable;
  ExtendDirection direction = ExtendDirection::Forward;
  std::uint32_t min_hops = 1;
  std::uint32_t max_hops = 4294967295U;
};
struct Empty {};

}  // namespace plan

// The plan tree: 19 node kinds, each node owning its children. EXPLAIN
// prints it in the pretty debug text.
struct LogicalPlan {
  enum class Kind : std::uint8_t {
    ScanNode,
    ScanRel,
    Extend,
    Filter,
    Project,
    HashJoin,
    Aggregate,
    OrderBy,
    Limit,
    Distinct,
    Union,
    CreateNode,
    CreateRel,
    Merge,
    Delete,
    SetProperty,
    Foreach,
    RecursiveExtend,
    Empty,
  };

  using Node = std::variant<plan::ScanNode, plan::ScanRel, plan::Extend, plan::Filter, plan::Project, plan::HashJoin,
                            plan::Aggregate, plan::OrderBy, plan::Limit, plan::Distinct, plan::Union, plan::CreateNode,
                            plan::CreateRel, plan::Merge, plan::Delete, plan::SetProperty, plan::Foreach,
                            plan::RecursiveExtend, plan::Empty>;

  Node node;

  Kind kind() const { return static_cast<Kind>(node.index()); }
  template <typename T>
  T* as() {
    return std::get_if<T>(&node);
  }
  template <typename T>
  const T* as() const {
    return std::get_if<T>(&node);
  }

  // A new node built directly in its heap place: `node` is moved once.
  template <typename T>
  static PlanPtr make(T node) {
    return PlanPtr(new LogicalPlan{Node(std::in_place_type<T>, std::move(node))});
  }

  // The slot of the plan's first input (input, left or match_plan), the
  // one through which plans chain; nullptr for leaves.
  PlanPtr* first_input();
  const PlanPtr* first_input() const;

  void describe(DebugWriter& w) const;
};

// One result column of a planned query.
struct OutputColumn {
  std::string name;
  LogicalType data_type;
};

// The planner's product: the plan and its output columns in RETURN order.
struct PlannedQuery {
  PlanPtr plan;
  std::vector<OutputColumn> columns;
};

}  // namespace zelvo
