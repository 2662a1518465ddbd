#include <type_traits>

#include "binder/binder.h"

namespace zelvo {

namespace {

Result<BoundExpression> bind_variable(const std::string& name, const Scope& scope) {
  if (scope.find(name) == nullptr) return Error::binder("Unknown variable: " + name);
  return BoundExpression::variable(name);
}

Result<Box<BoundExpression>> bind_child(const Catalog& catalog, const Expression& child, const Scope& scope) {
  ZELVO_ASSIGN_OR_RETURN(BoundExpression bound, bind_expression(catalog, child, scope));
  return Box<BoundExpression>(std::move(bound));
}

Result<BoundOrderItem> bind_ordered_expression(const Catalog& catalog, const Expression& expression, bool ascending,
                                               const Scope& scope) {
  ZELVO_ASSIGN_OR_RETURN(BoundExpression bound, bind_expression(catalog, expression, scope));
  return BoundOrderItem{std::move(bound), ascending};
}

Result<BoundExpression> bind_window_function(const Catalog& catalog, const Expression::WindowFunction& window,
                                             const Scope& scope) {
  BoundExpression::WindowFunction bound{window.name, {}, {}, {}};
  ZELVO_ASSIGN_OR_RETURN(bound.args, bind_expression_list(catalog, window.args, scope));
  ZELVO_ASSIGN_OR_RETURN(bound.partition_by, bind_expression_list(catalog, window.partition_by, scope));
  bound.order_by.reserve(window.order_by.size());
  for (const auto& [expression, order] : window.order_by) {
    ZELVO_ASSIGN_OR_RETURN(BoundOrderItem item,
                           bind_ordered_expression(catalog, expression, order == SortOrder::Ascending, scope));
    bound.order_by.push_back(std::move(item));
  }
  // The window frame is not carried.
  return BoundExpression{std::move(bound)};
}

}  // namespace

Result<BoundExpression> bind_expression(const Catalog& catalog, const Expression& expression, const Scope& scope) {
  using E = Expression;
  using B = BoundExpression;
  return std::visit(
      [&](const auto& n) -> Result<BoundExpression> {
        using T = std::decay_t<decltype(n)>;
        if constexpr (std::is_same_v<T, E::Literal>) {
          return B::literal(n.value);
        } else if constexpr (std::is_same_v<T, E::Variable>) {
          return bind_variable(n.name, scope);
        } else if constexpr (std::is_same_v<T, E::Property>) {
          ZELVO_ASSIGN_OR_RETURN(Box<B> base, bind_child(catalog, *n.base, scope));
          return B{B::Property{std::move(base), n.property}};
        } else if constexpr (std::is_same_v<T, E::FunctionCall>) {
          ZELVO_ASSIGN_OR_RETURN(std::vector<B> args, bind_expression_list(catalog, n.args, scope));
          return B{B::FunctionCall{n.name, n.distinct, std::move(args)}};
        } else if constexpr (std::is_same_v<T, E::WindowFunction>) {
          return bind_window_function(catalog, n, scope);
        } else if constexpr (std::is_same_v<T, E::Binary>) {
          ZELVO_ASSIGN_OR_RETURN(Box<B> left, bind_child(catalog, *n.left, scope));
          ZELVO_ASSIGN_OR_RETURN(Box<B> right, bind_child(catalog, *n.right, scope));
          return B{B::Binary{std::move(left), n.op, std::move(right)}};
        } else if constexpr (std::is_same_v<T, E::Unary>) {
          ZELVO_ASSIGN_OR_RETURN(Box<B> operand, bind_child(catalog, *n.operand, scope));
          return B{B::Unary{n.op, std::move(operand)}};
        } else if constexpr (std::is_same_v<T, E::Parameter>) {
          return B{B::Parameter{n.name}};
        } else if constexpr (std::is_same_v<T, E::Map>) {
          ZELVO_ASSIGN_OR_RETURN(PropertyMap entries, bind_property_map(catalog, n.literal, scope));
          return B{B::Map{std::move(entries)}};
        } else if constexpr (std::is_same_v<T, E::List>) {
          ZELVO_ASSIGN_OR_RETURN(std::vector<B> elements, bind_expression_list(catalog, n.literal.elements, scope));
          return B{B::List{std::move(elements)}};
        } else if constexpr (std::is_same_v<T, E::IsNull>) {
          ZELVO_ASSIGN_OR_RETURN(Box<B> operand, bind_child(catalog, *n.operand, scope));
          return B{B::IsNull{std::move(operand), n.negated}};
        } else if constexpr (std::is_same_v<T, E::In>) {
          ZELVO_ASSIGN_OR_RETURN(Box<B> operand, bind_child(catalog, *n.operand, scope));
          ZELVO_ASSIGN_OR_RETURN(Box<B> list, bind_child(catalog, *n.list, scope));
          return B{B::In{std::move(operand), std::move(list), n.negated}};
        } else {
          // Index, Case, ListComprehension, PatternComprehension, Exists,
          // StringMatch and Quantified: the evaluator has no form for them.
          return Error::binder("Unsupported expression: " + debug_text(expression));
        }
      },
      expression.node);
}

Result<std::vector<BoundExpression>> bind_expression_list(const Catalog& catalog,
                                                          const std::vector<Expression>& expressions,
                                                          const Scope& scope) {
  std::vector<BoundExpression> bound;
  bound.reserve(expressions.size());
  for (const Expression& expression : expressions) {
    ZELVO_ASSIGN_OR_RETURN(BoundExpression element, bind_expression(catalog, expression, scope));
    bound.push_back(std::move(element));
  }
  return bound;
}

Result<BoundOrderItem> bind_order_item(const Catalog& catalog, const OrderItem& item, const Scope& scope) {
  return bind_ordered_expression(catalog, item.expression, item.ascending, scope);
}

}  // namespace zelvo
