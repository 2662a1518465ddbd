#include "binder/bound_expression.h"

namespace zelvo {

std::optional<bool> BoundExpression::bool_literal() const {
  const Literal* literal = as<Literal>();
  if (literal == nullptr || literal->value.kind() != ValueKind::Bool) return std::nullopt;
  return literal->value.as_bool();
}

void BoundExpression::describe(DebugWriter& w) const {
  std::visit(
      [&w](const auto& n) {
        using T = std::decay_t<decltype(n)>;
        if constexpr (std::is_same_v<T, Literal>) {
          w.tuple("Literal").item(n.value).finish();
        } else if constexpr (std::is_same_v<T, Variable>) {
          w.tuple("Variable").item(n.name).finish();
        } else if constexpr (std::is_same_v<T, Property>) {
          w.record("Property").field("base", *n.base).field("property", n.property).finish();
        } else if constexpr (std::is_same_v<T, Binary>) {
          w.record("Binary")
              .field("left", *n.left)
              .field("op", RawText{binary_op_name(n.op)})
              .field("right", *n.right)
              .finish();
        } else if constexpr (std::is_same_v<T, Unary>) {
          w.record("Unary").field("op", RawText{unary_op_name(n.op)}).field("operand", *n.operand).finish();
        } else if constexpr (std::is_same_v<T, FunctionCall>) {
          w.record("FunctionCall").field("name", n.name).field("distinct", n.distinct).field("args", n.args).finish();
        } else if constexpr (std::is_same_v<T, WindowFunction>) {
          w.record("WindowFunction")
              .field("name", n.name)
              .field("args", n.args)
              .field("partition_by", n.partition_by)
              .field("order_by", n.order_by)
              .finish();
        } else if constexpr (std::is_same_v<T, IsNull>) {
          w.record("IsNull").field("operand", *n.operand).field("negated", n.negated).finish();
        } else if constexpr (std::is_same_v<T, In>) {
          w.record("In").field("operand", *n.operand).field("list", *n.list).field("negated", n.negated).finish();
        } else if constexpr (std::is_same_v<T, Parameter>) {
          w.tuple("Parameter").item(n.name).finish();
        } else if constexpr (std::is_same_v<T, List>) {
          w.tuple("List").item(n.elements).finish();
        } else {
          w.tuple("Map").item(n.entries).finish();
        }
      },
      node);
}

}  // namespace zelvo
