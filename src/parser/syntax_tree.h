#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "common/debug_writer.h"
#include "common/value.h"
#include "parser/syntax_kinds.h"

// The syntax tree of one query: the QueryStatement record of clause slots,
// the clause, item and pattern records, and the Expression union.
//
// Conventions:
// - Every node owns its children; the tree is move-only and nothing shares
//   nodes. A boxed child is a std::unique_ptr; an optional boxed child is a
//   std::unique_ptr that is null when absent.
// - Every union is a struct whose `node` member is a std::variant of its
//   variants in declared order, so node.index() is the variant's number.
// - describe() writes the debug text: records as Name { field: value, ... },
//   one-payload variants as Name(payload), payload-less kinds as Name,
//   pairs as (first, second).

namespace zelvo {

struct Expression;
struct QueryStatement;
struct MapEntry;
struct WhenClause;
struct WindowOrderKey;

// Key and value pairs between braces, in written order (a repeated key gives
// two entries).
struct MapLiteral {
  std::vector<MapEntry> entries;
  void describe(DebugWriter& w) const;
};

struct ListLiteral {
  std::vector<Expression> elements;
  void describe(DebugWriter& w) const;
};

struct WindowFrameBound {
  enum class Kind : std::uint8_t { UnboundedPreceding, Preceding, CurrentRow, Following, UnboundedFollowing };
  Kind kind = Kind::CurrentRow;
  std::uint64_t count = 0;  // the number of rows of Preceding and Following
  void describe(DebugWriter& w) const;
};

struct WindowFrame {
  WindowFrameType frame_type = WindowFrameType::Rows;
  WindowFrameBound start;
  std::optional<WindowFrameBound> end;
  void describe(DebugWriter& w) const;
};

// ---------------------------------------------------------------- Patterns

struct NodePattern {
  std::optional<std::string> variable;
  std::vector<std::string> labels;
  std::optional<MapLiteral> properties;
  void describe(DebugWriter& w) const;
};

// The bounds of a variable-length relationship step.
struct RelLength {
  std::optional<std::uint32_t> min;
  std::optional<std::uint32_t> max;
  void describe(DebugWriter& w) const;
};

struct RelPattern {
  std::optional<std::string> variable;
  std::vector<std::string> rel_types;
  std::optional<MapLiteral> properties;
  Direction direction = Direction::Both;
  std::optional<RelLength> length;
  void describe(DebugWriter& w) const;
};

// One step of a path: the relationship and the node it leads to. Debug text
// prints it as a pair.
struct PatternStep {
  RelPattern relationship;
  NodePattern node;
  void describe(DebugWriter& w) const;
};

// A path with at least one relationship.
struct PatternChain {
  NodePattern start;
  std::vector<PatternStep> relationships;
  void describe(DebugWriter& w) const;
};

// Variants Node (a lone node) and Chain.
struct PatternElement {
  std::variant<NodePattern, PatternChain> node;
  void describe(DebugWriter& w) const;
};

// The comma-separated parts of a pattern.
struct Pattern {
  std::vector<PatternElement> elements;
  void describe(DebugWriter& w) const;
};

// ------------------------------------------------------------- Expressions

enum class ExpressionKind : std::uint8_t {
  Literal,
  Variable,
  Property,
  Index,
  FunctionCall,
  WindowFunction,
  Binary,
  Unary,
  Parameter,
  Case,
  ListComprehension,
  PatternComprehension,
  Exists,
  Map,
  List,
  IsNull,
  In,
  StringMatch,
  Quantified,
};

// Deletes an expression together with the chain of first children below it
// (the left operands of an operator chain, the bases of property accesses
// and subscripts, the operands of prefix operators) by a loop, so that a
// chain as long as the statement text allows costs no stack to destroy.
struct ExpressionDeleter {
  ExpressionDeleter() = default;
  ExpressionDeleter(std::default_delete<Expression> /*unused*/) {}  // NOLINT: converts std::make_unique's pointers
  void operator()(Expression* expression) const noexcept;
};

struct Expression {
  using Child = std::unique_ptr<Expression, ExpressionDeleter>;

  struct Literal {
    Value value;
  };
  struct Variable {
    std::string name;
  };
  struct Property {
    Child base;
    std::string property;
  };
  struct Index {
    Child base;
    Child index;
  };
  struct FunctionCall {
    std::string name;
    bool distinct = false;
    std::vector<Expression> args;
  };
  struct WindowFunction {
    std::string name;
    std::vector<Expression> args;
    std::vector<Expression> partition_by;
    std::vector<WindowOrderKey> order_by;
    std::optional<WindowFrame> frame;
  };
  struct Binary {
    Child left;
    BinaryOp op = BinaryOp::Add;
    Child right;
  };
  struct Unary {
    UnaryOp op = UnaryOp::Not;
    Child operand;
  };
  struct Parameter {
    std::string name;  // the name after "$"
  };
  struct Case {
    Child operand;  // optional
    std::vector<WhenClause> when_clauses;
    Child else_clause;  // optional
  };
  struct ListComprehension {
    std::string variable;
    Child in_expr;
    Child where_clause;  // optional
    Child projection;    // optional
  };
  struct PatternComprehension {
    Pattern pattern;
    Child where_clause;  // optional
    Child projection;
  };
  struct Exists {
    std::unique_ptr<QueryStatement> query;
  };
  struct Map {
    MapLiteral literal;
  };
  struct List {
    ListLiteral literal;
  };
  struct IsNull {
    Child operand;
    bool negated = false;  // IS NOT NULL
  };
  struct In {
    Child operand;
    Child list;
    bool negated = false;
  };
  struct StringMatch {
    Child operand;
    Child pattern;
    StringMatchType match_type = StringMatchType::Contains;
    bool negated = false;
  };
  struct Quantified {
    Quantifier quantifier = Quantifier::All;
    std::string variable;
    Child in_expr;
    Child predicate;
  };

  using Node =
      std::variant<Literal, Variable, Property, Index, FunctionCall, WindowFunction, Binary, Unary, Parameter, Case,
                   ListComprehension, PatternComprehension, Exists, Map, List, IsNull, In, StringMatch, Quantified>;

  ExpressionKind kind() const { return static_cast<ExpressionKind>(node.index()); }
  void describe(DebugWriter& w) const;

  // One variant, e.g. Expression{Expression::Variable{"n"}}; a
  // default-constructed expression is a Null literal.
  Node node;
};

// The pairs held by expressions; debug text prints each as a pair.
struct MapEntry {
  std::string key;
  Expression value;
  void describe(DebugWriter& w) const;
};

struct WhenClause {
  Expression condition;
  Expression result;
  void describe(DebugWriter& w) const;
};

struct WindowOrderKey {
  Expression expression;
  SortOrder order = SortOrder::Ascending;
  void describe(DebugWriter& w) const;
};

// ----------------------------------------------------- Clauses and queries

struct CommonTableExpression {
  std::string name;
  std::vector<std::string> columns;
  std::unique_ptr<QueryStatement> query;
  bool recursive = false;
  void describe(DebugWriter& w) const;
};

struct MatchClause {
  Pattern pattern;
  std::optional<Expression> where_clause;  // the WHERE right after the pattern
  void describe(DebugWriter& w) const;
};

struct CreateClause {
  Pattern pattern;
  void describe(DebugWriter& w) const;
};

// Variants Property { target, value }, Labels { variable, labels } and
// Properties { variable, properties, replace }.
struct SetItem {
  struct Property {
    Expression target;
    Expression value;
  };
  struct Labels {
    std::string variable;
    std::vector<std::string> labels;
  };
  struct Properties {
    std::string variable;
    MapLiteral properties;
    bool replace = false;
  };
  std::variant<Property, Labels, Properties> node;
  void describe(DebugWriter& w) const;
};

// Variants Property(expression) and Labels { variable, labels }.
struct RemoveItem {
  struct Property {
    Expression expression;
  };
  struct Labels {
    std::string variable;
    std::vector<std::string> labels;
  };
  std::variant<Property, Labels> node;
  void describe(DebugWriter& w) const;
};

struct MergeClause {
  Pattern pattern;
  std::vector<SetItem> on_create;
  std::vector<SetItem> on_match;
  void describe(DebugWriter& w) const;
};

struct DeleteClause {
  std::vector<Expression> expressions;
  bool detach = false;
  void describe(DebugWriter& w) const;
};

struct UnwindClause {
  Expression expression;
  std::string alias;
  void describe(DebugWriter& w) const;
};

struct UpdateClause;

// Deletes a query together with the chain of queries after UNION below it,
// which the parser builds by a loop, by a loop too.
struct QueryStatementDeleter {
  QueryStatementDeleter() = default;
  QueryStatementDeleter(std::default_delete<QueryStatement> /*unused*/) {}  // NOLINT: converts std::make_unique's
  void operator()(QueryStatement* query) const noexcept;
};

struct ForeachClause {
  std::string variable;
  Expression expression;  // the list iterated
  std::vector<UpdateClause> update_clauses;
  void describe(DebugWriter& w) const;
};

// A clause inside FOREACH. Variants Set, Create, Merge, Delete, Remove and
// Foreach, each holding one item or clause.
struct UpdateClause {
  std::variant<SetItem, CreateClause, MergeClause, DeleteClause, RemoveItem, ForeachClause> node;
  void describe(DebugWriter& w) const;
};

// One item of RETURN or WITH. A "*" item holds a Variable named "*".
struct ProjectionItem {
  Expression expression;
  std::optional<std::string> alias;
  bool star = false;
  void describe(DebugWriter& w) const;
};

struct WithClause {
  std::vector<ProjectionItem> items;
  bool distinct = false;
  std::optional<Expression> where_clause;
  void describe(DebugWriter& w) const;
};

struct ReturnClause {
  std::vector<ProjectionItem> items;
  bool distinct = false;
  void describe(DebugWriter& w) const;
};

struct OrderItem {
  Expression expression;
  bool ascending = true;
  void describe(DebugWriter& w) const;
};

struct OrderByClause {
  std::vector<OrderItem> items;
  void describe(DebugWriter& w) const;
};

// One query as a record of clause slots; an empty query has every list empty
// and every optional absent.
struct QueryStatement {
  std::vector<CommonTableExpression> ctes;
  std::vector<MatchClause> match_clauses;
  std::vector<MatchClause> optional_match_clauses;
  std::vector<CreateClause> create_clauses;
  std::optional<MergeClause> merge_clause;
  std::optional<DeleteClause> delete_clause;
  std::vector<SetItem> set_clauses;
  std::vector<RemoveItem> remove_clauses;
  std::optional<UnwindClause> unwind_clause;
  std::vector<ForeachClause> foreach_clauses;
  std::optional<Expression> where_clause;  // a WHERE of no MATCH pattern and no WITH
  std::optional<WithClause> with_clause;
  std::optional<ReturnClause> return_clause;
  std::optional<OrderByClause> order_by;
  std::optional<Expression> skip;
  std::optional<Expression> limit;
  std::unique_ptr<QueryStatement, QueryStatementDeleter>
      union_query;  // the query after UNION; debug text names it "union"
  void describe(DebugWriter& w) const;
};

}  // namespace zelvo
