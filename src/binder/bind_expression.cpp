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

// A link of a chain whose first child the loop of bind_expression_into
// binds: the syntax node and the bound node made for it.
struct BoundLink {
  const Expression* syntax = nullptr;
  BoundExpression* bound = nullptr;
};

// When `expression` continues a chain through its first child (Binary's
// left operand, Property's base, the operands of IS NULL and IN), makes its
// bound node in `out` with the children still to fill and returns the
// syntax of that first child; otherwise nullptr.
const Expression* open_link(const Expression& expression, BoundExpression& out) {
  using E = Expression;
  using B = BoundExpression;
  if (const auto* binary = std::get_if<E::Binary>(&expression.node)) {
    out.node.emplace<B::Binary>(B::Binary{empty_child(), binary->op, empty_child()});
    return binary->left.get();
  }
  if (const auto* property = std::get_if<E::Property>(&expression.node)) {
    out.node.emplace<B::Property>(B::Property{empty_child(), property->property});
    return property->base.get();
  }
  if (const auto* is_null = std::get_if<E::IsNull>(&expression.node)) {
    out.node.emplace<B::IsNull>(B::IsNull{empty_child(), is_null->negated});
    return is_null->operand.get();
  }
  if (const auto* in = std::get_if<E::In>(&expression.node)) {
    out.node.emplace<B::In>(B::In{empty_child(), empty_child(), in->negated});
    return in->operand.get();
  }
  return nullptr;
}

// The bound slot of the first child of a node made by open_link.
BoundExpression& first_child_slot(BoundExpression& link) {
  using B = BoundExpression;
  if (auto* binary = std::get_if<B::Binary>(&link.node)) return *binary->left;
  if (auto* property = std::get_if<B::Property>(&link.node)) return *property->base;
  if (auto* is_null = std::get_if<B::IsNull>(&link.node)) return *is_null->operand;
  return *std::get<B::In>(link.node).operand;
}

// The children of a link after its first: Binary's right operand, IN's list.
Status bind_rest_of_link(const Catalog& catalog, const BoundLink& link, const Scope& scope) {
  using E = Expression;
  using B = BoundExpression;
  if (const auto* binary = std::get_if<E::Binary>(&link.syntax->node)) {
    return bind_expression_into(catalog, *binary->right, scope, *std::get<B::Binary>(link.bound->node).right,
                                Nesting::Nested);
  }
  if (const auto* in = std::get_if<E::In>(&link.syntax->node)) {
    return bind_expression_into(catalog, *in->list, scope, *std::get<B::In>(link.bound->node).list, Nesting::Nested);
  }
  return {};
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
          switch (std::get<DebugWriter::Stop>(text)) {
            case DebugWriter::Stop::Nesting: return Error::binder(std::string(kNestedTooDeeply));
            case DebugWriter::Stop::Stack: return Error::binder(std::string(kTooLarge));
            default: return Error::binder("Unsupported expression is too large for the memory available to show");
          }
        }
        return {};
      },
      expression.node);
}

}  // namespace

// A chain of links (an operator chain, a property chain) is bound by a loop:
// down the chain each link's bound node is made, then the expression that
// ends the chain is bound, then on the way back up each link's other
// children. Variables are checked left to right, as a recursion would.
// Only nested parts (operands of other kinds, arguments, list elements)
// recurse, each after a check of the stack.
Status bind_expression_into(const Catalog& catalog, const Expression& expression, const Scope& scope,
                            BoundExpression& out, Nesting nesting) {
  if (!stack_has_room()) {
    return Error::binder(std::string(nesting == Nesting::Nested ? kNestedTooDeeply : kTooLarge));
  }
  InlineStack<BoundLink> links;
  const Expression* syntax = &expression;
  BoundExpression* bound = &out;
  while (const Expression* first = open_link(*syntax, *bound)) {
    links.push(BoundLink{syntax, bound});
    syntax = first;
    bound = &first_child_slot(*bound);
  }
  ZELVO_TRY(bind_chain_end(catalog, *syntax, scope, *bound));
  while (!links.empty()) ZELVO_TRY(bind_rest_of_link(catalog, links.pop(), scope));
  return {};
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
