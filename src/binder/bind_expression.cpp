#include <type_traits>

#include "binder/bind_in_place.h"
#include "binder/binder.h"
#include "common/inline_stack.h"
#include "common/stack_guard.h"

namespace zelvo {

namespace {

// A child slot for the binder to fill.
Box<BoundExpression> empty_child() { return Box<BoundExpression>(std::in_place); }

Status bind_order_keys_into(const Catalog& catalog, const std::vector<WindowOrderKey>& keys, const Scope& scope,
                            std::vector<BoundOrderItem>& out) {
  out.resize(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    out[i].ascending = keys[i].order == SortOrder::Ascending;
    ZELVO_TRY(bind_expression_into(catalog, keys[i].expression, scope, out[i].expression, Nesting::Nested));
  }
  return {};
}

Status bind_window_function_into(const Catalog& catalog, const Expression::WindowFunction& window, const Scope& scope,
                                 BoundExpression& out) {
  auto& bound = out.node.emplace<BoundExpression::WindowFunction>();
  bound.name = window.name;
  ZELVO_TRY(bind_expression_list_into(catalog, window.args, scope, bound.args, Nesting::Nested));
  ZELVO_TRY(bind_expression_list_into(catalog, window.partition_by, scope, bound.partition_by, Nesting::Nested));
  // The window frame is not carried.
  return bind_order_keys_into(catalog, window.order_by, scope, bound.order_by);
}

}  // namespace

namespace {

// A child of a chain link that is bound after the chain's end (Binary's
// right operand, IN's list): its syntax and its slot in the bound tree.
struct LaterChild {
  const Expression* syntax;
  BoundExpression* slot;
};

// When `expression` continues a chain through its first child (Binary's
// left operand, Property's base, the operands of IS NULL and IN), makes its
// bound node in `out`, points `first` at the slot of that first child,
// adds its later child to `later` and returns the syntax of the first
// child; otherwise nullptr.
const Expression* open_link(const Expression& expression, BoundExpression& out, BoundExpression*& first,
                            InlineStack<LaterChild>& later) {
  using E = Expression;
  using B = BoundExpression;
  switch (expression.kind()) {
    case ExpressionKind::Binary: {
      const auto& binary = *std::get_if<E::Binary>(&expression.node);
      auto& bound = out.node.emplace<B::Binary>(B::Binary{empty_child(), binary.op, empty_child()});
      later.push(LaterChild{binary.right.get(), bound.right.get()});
      first = bound.left.get();
      return binary.left.get();
    }
    case ExpressionKind::Property: {
      const auto& property = *std::get_if<E::Property>(&expression.node);
      first = out.node.emplace<B::Property>(B::Property{empty_child(), property.property}).base.get();
      return property.base.get();
    }
    case ExpressionKind::IsNull: {
      const auto& is_null = *std::get_if<E::IsNull>(&expression.node);
      first = out.node.emplace<B::IsNull>(B::IsNull{empty_child(), is_null.negated}).operand.get();
      return is_null.operand.get();
    }
    case ExpressionKind::In: {
      const auto& in = *std::get_if<E::In>(&expression.node);
      auto& bound = out.node.emplace<B::In>(B::In{empty_child(), empty_child(), in.negated});
      later.push(LaterChild{in.list.get(), bound.list.get()});
      first = bound.operand.get();
      return in.operand.get();
    }
    default: return nullptr;
  }
}

// An expression that continues no chain.
Status bind_chain_end(const Catalog& catalog, const Expression& expression, const Scope& scope, BoundExpression& out) {
  using E = Expression;
  using B = BoundExpression;
  return std::visit(
      [&](const auto& n) -> Status {
        using T = std::decay_t<decltype(n)>;
        if constexpr (std::is_same_v<T, E::Literal>) {
          out.node.emplace<B::Literal>(B::Literal{n.value});
        } else if constexpr (std::is_same_v<T, E::Variable>) {
          if (scope.find(n.name) == nullptr) return Error::binder("Unknown variable: " + n.name);
          out.node.emplace<B::Variable>(B::Variable{n.name});
        } else if constexpr (std::is_same_v<T, E::FunctionCall>) {
          auto& bound = out.node.emplace<B::FunctionCall>(B::FunctionCall{n.name, n.distinct, {}});
          return bind_expression_list_into(catalog, n.args, scope, bound.args, Nesting::Nested);
        } else if constexpr (std::is_same_v<T, E::WindowFunction>) {
          return bind_window_function_into(catalog, n, scope, out);
        } else if constexpr (std::is_same_v<T, E::Unary>) {
          auto& bound = out.node.emplace<B::Unary>(B::Unary{n.op, empty_child()});
          return bind_expression_into(catalog, *n.operand, scope, *bound.operand, Nesting::Nested);
        } else if constexpr (std::is_same_v<T, E::Parameter>) {
          out.node.emplace<B::Parameter>(B::Parameter{n.name});
        } else if constexpr (std::is_same_v<T, E::Map>) {
          return bind_property_map_into(catalog, n.literal, scope, out.node.emplace<B::Map>().entries, Nesting::Nested);
        } else if constexpr (std::is_same_v<T, E::List>) {
          return bind_expression_list_into(catalog, n.literal.elements, scope, out.node.emplace<B::List>().elements,
                                           Nesting::Nested);
        } else {
          // Index, Case, ListComprehension, PatternComprehension, Exists,
          // StringMatch and Quantified: the evaluator has no form for them.
          auto text = checked_debug_text(expression);
          if (auto* written = std::get_if<std::string>(&text)) {
            return Error::binder("Unsupported expression: " + *written);
          }
          return Error::binder(stack_stop_text(std::get<DebugWriter::Stop>(text)));
        }
        return {};
      },
      expression.node);
}

}  // namespace

namespace {

// A chain of links (an operator chain, a property chain) is bound by a loop:
// down the chain each link's bound node is made, then the expression that
// ends the chain is bound, then on the way back up each link's other
// children. Variables are checked left to right, as a recursion would.
[[gnu::noinline]] Status bind_chain(const Catalog& catalog, const Expression& expression, const Scope& scope,
                                    BoundExpression& out) {
  InlineStack<LaterChild> later;
  const Expression* syntax = &expression;
  BoundExpression* bound = &out;
  while (const Expression* first = open_link(*syntax, *bound, bound, later)) syntax = first;
  ZELVO_TRY(bind_chain_end(catalog, *syntax, scope, *bound));
  // The deepest link's later child first: left to right.
  while (!later.empty()) {
    const LaterChild child = later.pop();
    ZELVO_TRY(bind_expression_into(catalog, *child.syntax, scope, *child.slot, Nesting::Nested));
  }
  return {};
}

bool continues_a_chain(const Expression& expression) {
  switch (expression.kind()) {
    case ExpressionKind::Binary:
    case ExpressionKind::Property:
    case ExpressionKind::IsNull:
    case ExpressionKind::In: return true;
    default: return false;
  }
}

}  // namespace

// Only nested parts (operands of other kinds, arguments, list elements)
// recurse, each after a check of the stack.
Status bind_expression_into(const Catalog& catalog, const Expression& expression, const Scope& scope,
                            BoundExpression& out, Nesting nesting) {
  if (!stack_has_room()) {
    return Error::binder(std::string(nesting == Nesting::Nested ? kNestedTooDeeply : kTooLarge));
  }
  if (continues_a_chain(expression)) return bind_chain(catalog, expression, scope, out);
  return bind_chain_end(catalog, expression, scope, out);
}

Status bind_expression_list_into(const Catalog& catalog, const std::vector<Expression>& expressions, const Scope& scope,
                                 std::vector<BoundExpression>& out, Nesting nesting) {
  out.resize(expressions.size());
  for (std::size_t i = 0; i < expressions.size(); ++i) {
    ZELVO_TRY(bind_expression_into(catalog, expressions[i], scope, out[i], nesting));
  }
  return {};
}

Result<BoundExpression> bind_expression(const Catalog& catalog, const Expression& expression, const Scope& scope) {
  return bind_in_place<BoundExpression>(
      [&](BoundExpression& out) { return bind_expression_into(catalog, expression, scope, out); });
}

Result<std::vector<BoundExpression>> bind_expression_list(const Catalog& catalog,
                                                          const std::vector<Expression>& expressions,
                                                          const Scope& scope) {
  return bind_in_place<std::vector<BoundExpression>>(
      [&](std::vector<BoundExpression>& out) { return bind_expression_list_into(catalog, expressions, scope, out); });
}

Result<BoundOrderItem> bind_order_item(const Catalog& catalog, const OrderItem& item, const Scope& scope) {
  return bind_in_place<BoundOrderItem>([&](BoundOrderItem& out) {
    out.ascending = item.ascending;
    return bind_expression_into(catalog, item.expression, scope, out.expression);
  });
}

}  // namespace zelvo
