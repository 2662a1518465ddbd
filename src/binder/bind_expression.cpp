#include <type_traits>

#include "binder/bind_in_place.h"
#include "binder/binder.h"

namespace zelvo {

namespace {

// A child slot for the binder to fill.
Box<BoundExpression> empty_child() { return Box<BoundExpression>(std::in_place); }

Status bind_order_keys_into(const Catalog& catalog, const std::vector<WindowOrderKey>& keys, const Scope& scope,
                            std::vector<BoundOrderItem>& out) {
  out.resize(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    out[i].ascending = keys[i].order == SortOrder::Ascending;
    ZELVO_TRY(bind_expression_into(catalog, keys[i].expression, scope, out[i].expression));
  }
  return {};
}

Status bind_window_function_into(const Catalog& catalog, const Expression::WindowFunction& window, const Scope& scope,
                                 BoundExpression& out) {
  auto& bound = out.node.emplace<BoundExpression::WindowFunction>();
  bound.name = window.name;
  ZELVO_TRY(bind_expression_list_into(catalog, window.args, scope, bound.args));
  ZELVO_TRY(bind_expression_list_into(catalog, window.partition_by, scope, bound.partition_by));
  // The window frame is not carried.
  return bind_order_keys_into(catalog, window.order_by, scope, bound.order_by);
}

}  // namespace

Status bind_expression_into(const Catalog& catalog, const Expression& expression, const Scope& scope,
                            BoundExpression& out) {
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
        } else if constexpr (std::is_same_v<T, E::Property>) {
          auto& bound = out.node.emplace<B::Property>(B::Property{empty_child(), n.property});
          return bind_expression_into(catalog, *n.base, scope, *bound.base);
        } else if constexpr (std::is_same_v<T, E::FunctionCall>) {
          auto& bound = out.node.emplace<B::FunctionCall>(B::FunctionCall{n.name, n.distinct, {}});
          return bind_expression_list_into(catalog, n.args, scope, bound.args);
        } else if constexpr (std::is_same_v<T, E::WindowFunction>) {
          return bind_window_function_into(catalog, n, scope, out);
        } else if constexpr (std::is_same_v<T, E::Binary>) {
          auto& bound = out.node.emplace<B::Binary>(B::Binary{empty_child(), n.op, empty_child()});
          ZELVO_TRY(bind_expression_into(catalog, *n.left, scope, *bound.left));
          return bind_expression_into(catalog, *n.right, scope, *bound.right);
        } else if constexpr (std::is_same_v<T, E::Unary>) {
          auto& bound = out.node.emplace<B::Unary>(B::Unary{n.op, empty_child()});
          return bind_expression_into(catalog, *n.operand, scope, *bound.operand);
        } else if constexpr (std::is_same_v<T, E::Parameter>) {
          out.node.emplace<B::Parameter>(B::Parameter{n.name});
        } else if constexpr (std::is_same_v<T, E::Map>) {
          return bind_property_map_into(catalog, n.literal, scope, out.node.emplace<B::Map>().entries);
        } else if constexpr (std::is_same_v<T, E::List>) {
          return bind_expression_list_into(catalog, n.literal.elements, scope, out.node.emplace<B::List>().elements);
        } else if constexpr (std::is_same_v<T, E::IsNull>) {
          auto& bound = out.node.emplace<B::IsNull>(B::IsNull{empty_child(), n.negated});
          return bind_expression_into(catalog, *n.operand, scope, *bound.operand);
        } else if constexpr (std::is_same_v<T, E::In>) {
          auto& bound = out.node.emplace<B::In>(B::In{empty_child(), empty_child(), n.negated});
          ZELVO_TRY(bind_expression_into(catalog, *n.operand, scope, *bound.operand));
          return bind_expression_into(catalog, *n.list, scope, *bound.list);
        } else {
          // Index, Case, ListComprehension, PatternComprehension, Exists,
          // StringMatch and Quantified: the evaluator has no form for them.
          return Error::binder("Unsupported expression: " + debug_text(expression));
        }
        return {};
      },
      expression.node);
}

Status bind_expression_list_into(const Catalog& catalog, const std::vector<Expression>& expressions, const Scope& scope,
                                 std::vector<BoundExpression>& out) {
  out.resize(expressions.size());
  for (std::size_t i = 0; i < expressions.size(); ++i) {
    ZELVO_TRY(bind_expression_into(catalog, expressions[i], scope, out[i]));
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
