#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "common/box.h"
#include "common/debug_writer.h"
#include "common/value.h"
#include "parser/syntax_kinds.h"

namespace zelvo {

struct BoundOrderItem;
struct BoundExpression;

// Deletes an expression together with the chain of first children below it
// (left operands of an operator chain, bases of property accesses, operands
// of prefix operators) by a loop, so that a chain as long as the statement
// allows costs no stack to destroy.
template <>
struct BoxDeleter<BoundExpression> {
  void operator()(BoundExpression* expression) const noexcept;
};

// The binder's expression tree. Every child is owned; copying an expression
// copies the whole tree. Binding infers no types: kinds carry names and
// operators as written.
struct BoundExpression {
  struct Literal {
    Value value;
  };
  struct Variable {
    std::string name;
  };
  struct Property {
    Box<BoundExpression> base;
    std::string property;
  };
  struct Binary {
    Box<BoundExpression> left;
    BinaryOp op;
    Box<BoundExpression> right;
  };
  struct Unary {
    UnaryOp op;
    Box<BoundExpression> operand;
  };
  struct FunctionCall {
    std::string name;
    bool distinct = false;
    std::vector<BoundExpression> args;
  };
  struct WindowFunction {
    std::string name;
    std::vector<BoundExpression> args;
    std::vector<BoundExpression> partition_by;
    std::vector<BoundOrderItem> order_by;
  };
  struct IsNull {
    Box<BoundExpression> operand;
    bool negated = false;
  };
  struct In {
    Box<BoundExpression> operand;
    Box<BoundExpression> list;
    bool negated = false;
  };
  struct Parameter {
    std::string name;
  };
  struct List {
    std::vector<BoundExpression> elements;
  };
  struct Map {
    std::vector<std::pair<std::string, BoundExpression>> entries;
  };

  // The twelve kinds, in their fixed order.
  enum class Kind : std::uint8_t {
    Literal,
    Variable,
    Property,
    Binary,
    Unary,
    FunctionCall,
    WindowFunction,
    IsNull,
    In,
    Parameter,
    List,
    Map,
  };

  using Node = std::variant<Literal, Variable, Property, Binary, Unary, FunctionCall, WindowFunction, IsNull, In,
                            Parameter, List, Map>;

  Node node;

  Kind kind() const { return static_cast<Kind>(node.index()); }
  template <typename T>
  const T* as() const {
    return std::get_if<T>(&node);
  }
  // The Bool payload when this is a Bool literal.
  std::optional<bool> bool_literal() const;

  static BoundExpression literal(Value value);
  static BoundExpression variable(std::string name);
  static BoundExpression binary(BoundExpression left, BinaryOp op, BoundExpression right);
  static BoundExpression unary(UnaryOp op, BoundExpression operand);
  static BoundExpression property(BoundExpression base, std::string name);

  void describe(DebugWriter& w) const;
};

// One ORDER BY key of a window function.
struct BoundOrderItem {
  BoundExpression expression;
  bool ascending = true;

  void describe(DebugWriter& w) const {
    w.record("OrderItem").field("expression", expression).field("ascending", ascending).finish();
  }
};

// The factories are defined once BoundOrderItem is complete: the variant's
// WindowFunction alternative holds a vector of them.
inline BoundExpression BoundExpression::literal(Value value) { return BoundExpression{Literal{std::move(value)}}; }
inline BoundExpression BoundExpression::variable(std::string name) {
  return BoundExpression{Variable{std::move(name)}};
}
inline BoundExpression BoundExpression::binary(BoundExpression left, BinaryOp op, BoundExpression right) {
  return BoundExpression{Binary{Box(std::move(left)), op, Box(std::move(right))}};
}
inline BoundExpression BoundExpression::unary(UnaryOp op, BoundExpression operand) {
  return BoundExpression{Unary{op, Box(std::move(operand))}};
}
inline BoundExpression BoundExpression::property(BoundExpression base, std::string name) {
  return BoundExpression{Property{Box(std::move(base)), std::move(name)}};
}

// One aggregate of the logical plan's Aggregate kind.
struct AggregateExpr {
  std::string function;
  bool distinct = false;
  std::optional<BoundExpression> arg;
  std::string alias;

  void describe(DebugWriter& w) const {
    w.record("AggregateExpr")
        .field("function", function)
        .field("distinct", distinct)
        .field("arg", arg)
        .field("alias", alias)
        .finish();
  }
};

// (key, value) pairs of a property map, in written order.
using PropertyMap = std::vector<std::pair<std::string, BoundExpression>>;

}  // namespace zelvo
