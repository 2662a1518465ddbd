#include "optimizer/predicate_simplification.h"

#include <optional>

#include "optimizer/plan_rewrite.h"

namespace zelvo {

namespace {

bool is_bool_literal(const BoundExpression& expression, bool value) {
  return expression.bool_literal() == std::optional<bool>(value);
}

// NOT over a simplified operand.
BoundExpression reduce_not(BoundExpression& expression, BoundExpression& operand) {
  if (auto* inner = std::get_if<BoundExpression::Unary>(&operand.node); inner != nullptr && inner->op == UnaryOp::Not) {
    return std::move(*inner->operand);
  }
  if (std::optional<bool> value = operand.bool_literal()) return BoundExpression::literal(Value::boolean(!*value));
  return std::move(expression);
}

// AND over simplified sides.
BoundExpression reduce_and(BoundExpression& expression, BoundExpression& left, BoundExpression& right) {
  if (is_bool_literal(left, true)) return std::move(right);
  if (is_bool_literal(right, true)) return std::move(left);
  if (is_bool_literal(left, false) || is_bool_literal(right, false)) {
    return BoundExpression::literal(Value::boolean(false));
  }
  return std::move(expression);
}

// OR over simplified sides.
BoundExpression reduce_or(BoundExpression& expression, BoundExpression& left, BoundExpression& right) {
  if (is_bool_literal(left, true) || is_bool_literal(right, true)) {
    return BoundExpression::literal(Value::boolean(true));
  }
  if (is_bool_literal(left, false)) return std::move(right);
  if (is_bool_literal(right, false)) return std::move(left);
  return std::move(expression);
}

}  // namespace

BoundExpression simplify_predicate(BoundExpression expression) {
  if (auto* unary = std::get_if<BoundExpression::Unary>(&expression.node)) {
    *unary->operand = simplify_predicate(std::move(*unary->operand));
    if (unary->op == UnaryOp::Not) return reduce_not(expression, *unary->operand);
  } else if (auto* binary = std::get_if<BoundExpression::Binary>(&expression.node)) {
    *binary->left = simplify_predicate(std::move(*binary->left));
    *binary->right = simplify_predicate(std::move(*binary->right));
    if (binary->op == BinaryOp::And) return reduce_and(expression, *binary->left, *binary->right);
    if (binary->op == BinaryOp::Or) return reduce_or(expression, *binary->left, *binary->right);
  }
  return expression;
}

Result<PlanPtr> PredicateSimplification::optimize(PlanPtr plan) const {
  if (auto* filter = plan->as<plan::Filter>()) filter->predicate = simplify_predicate(std::move(filter->predicate));
  return optimize_filter_project_join_children(*this, std::move(plan));
}

}  // namespace zelvo
