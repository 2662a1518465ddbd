#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "binder/bound_expression.h"
#include "common/debug_writer.h"
#include "common/ids.h"

namespace zelvo {

struct BoundNodePattern {
  std::optional<std::string> variable;
  // The node table named by the first label; absent without a label.
  std::optional<TableId> table_id;
  std::vector<std::string> labels;
  std::optional<PropertyMap> properties;

  void describe(DebugWriter& w) const;
};

struct BoundRelPattern {
  std::optional<std::string> variable;
  // The relationship table named by the first type; absent without a type.
  std::optional<TableId> table_id;
  std::vector<std::string> rel_types;
  Direction direction = Direction::Outgoing;
  std::optional<PropertyMap> properties;
  std::optional<std::uint32_t> min_hops;
  std::optional<std::uint32_t> max_hops;

  void describe(DebugWriter& w) const;
};

struct BoundPatternChain {
  BoundNodePattern start;
  // Each step: the relationship and the node it leads to.
  std::vector<std::pair<BoundRelPattern, BoundNodePattern>> relationships;

  void describe(DebugWriter& w) const;
};

// A lone node or a chain with at least one relationship.
struct BoundPatternElement {
  std::variant<BoundNodePattern, BoundPatternChain> element;

  const BoundNodePattern* node() const { return std::get_if<BoundNodePattern>(&element); }
  const BoundPatternChain* chain() const { return std::get_if<BoundPatternChain>(&element); }
  void describe(DebugWriter& w) const;
};

struct BoundPattern {
  std::vector<BoundPatternElement> elements;

  void describe(DebugWriter& w) const { w.record("BoundPattern").field("elements", elements).finish(); }
};

struct BoundMatchClause {
  std::vector<BoundPatternElement> pattern;
  std::optional<BoundExpression> where_clause;
};

struct BoundCreateClause {
  BoundPattern pattern;

  void describe(DebugWriter& w) const { w.record("BoundCreateClause").field("pattern", pattern).finish(); }
};

// SET target = value, or SET variable:Label...
struct BoundSetItem {
  struct Property {
    BoundExpression target;
    BoundExpression value;
  };
  struct Labels {
    std::string variable;
    std::vector<std::string> labels;
  };
  std::variant<Property, Labels> item;

  const Property* property() const { return std::get_if<Property>(&item); }
  void describe(DebugWriter& w) const;
};

struct BoundMergeClause {
  BoundPattern pattern;
  std::vector<BoundSetItem> on_create;
  std::vector<BoundSetItem> on_match;

  void describe(DebugWriter& w) const {
    w.record("BoundMergeClause")
        .field("pattern", pattern)
        .field("on_create", on_create)
        .field("on_match", on_match)
        .finish();
  }
};

struct BoundDeleteClause {
  std::vector<BoundExpression> expressions;
  bool detach = false;

  void describe(DebugWriter& w) const {
    w.record("BoundDeleteClause").field("expressions", expressions).field("detach", detach).finish();
  }
};

struct BoundUpdateClause;

struct BoundForeachClause {
  std::string variable;
  BoundExpression expression;  // the list iterated over
  std::vector<BoundUpdateClause> update_clauses;

  void describe(DebugWriter& w) const;
};

// One clause of a FOREACH body.
struct BoundUpdateClause {
  std::variant<BoundSetItem, BoundCreateClause, BoundMergeClause, BoundDeleteClause, BoundForeachClause> clause;

  void describe(DebugWriter& w) const;
};

struct BoundProjectionItem {
  BoundExpression expression;
  std::optional<std::string> alias;
};

struct BoundReturnClause {
  std::vector<BoundProjectionItem> items;
  bool distinct = false;
};

// One bound query: a flat record of clause slots. OPTIONAL MATCH, WITH,
// UNWIND, REMOVE, ORDER BY, UNION and common table expressions have no slot.
struct BoundQuery {
  std::vector<BoundMatchClause> match_clauses;
  std::optional<BoundExpression> where_clause;
  std::vector<BoundCreateClause> create_clauses;
  std::optional<BoundMergeClause> merge_clause;
  std::optional<BoundReturnClause> return_clause;
  std::optional<BoundDeleteClause> delete_clause;
  std::vector<BoundSetItem> set_items;
  std::vector<BoundForeachClause> foreach_clauses;
  std::optional<BoundExpression> skip;
  std::optional<BoundExpression> limit;
};

}  // namespace zelvo
