#include "optimizer/predicate_simplification.h"

#include <optional>

#include "optimizer/plan_rewrite.h"

namespace zelvo {

namespace {

bool is_bool_literal(const BoundExpression& expression, bool value) {
  return expression.bool_literal() == std::optional<bool>(value);
}

// Replaces `expression` by the subtree that `child` owns. The subtree is
// taken out of the tree first, as replacing `expression` destroys `child`.
void replace_by_child(BoundExpression& expression, Box<BoundExpression>& child) {
  Box<BoundExpression> kept = std::move(child);
  expression = std::move(*kept);
}

void replace_by_bool(BoundExpression& expression, bool value) {
  expression.node.emplace<BoundExpression::Literal>(BoundExpression::Literal{Value::boolean(value)});
}

// NOT over a simplified operand.
void reduce_not(BoundExpression& expression, BoundExpression::Unary& unary) {
  BoundExpression& operand = *unary.operand;
  if (auto* inner = std::get_if<BoundExpression::Unary>(&operand.node); inner != nullptr && inner->op == UnaryOp::Not) {
    replace_by_child(expression, inner->operand);
  } else if (std::optional<bool> value = operand.bool_literal()) {
    replace_by_bool(expression, !*value);
  }
}

// AND over simplified sides.
void reduce_and(BoundExpression& expression, BoundExpression::Binary& binary) {
  if (is_bool_literal(*binary.left, true)) {
    replace_by_child(expression, binary.right);
  } else if (is_bool_literal(*binary.right, true)) {
    replace_by_child(expression, binary.left);
  } else if (is_bool_literal(*binary.left, false) || is_bool_literal(*binary.right, false)) {
    replace_by_bool(expression, false);
  }
}

// OR over simplified sides.
void reduce_or(BoundExpression& expression, BoundExpression::Binary& binary) {
  if (is_bool_literal(*binary.left, true) || is_bool_literal(*binary.right, true)) {
    replace_by_bool(expression, true);
  } else if (is_bool_literal(*binary.left, false)) {
    replace_by_child(expression, binary.right);
  } else if (is_bool_literal(*binary.right, false)) {
    replace_by_child(expression, binary.left);
  }
}

}  // namespace

void simplify_predicate_in_place(BoundExpression& expression) {
  if (auto* unary = std::get_if<BoundExpression::Unary>(&expression.node)) {
    simplify_predicate_in_place(*unary->operand);
    if (unary->op == UnaryOp::Not) reduce_not(expression, *unary);
  } else if (auto* binary = std::get_if<BoundExpression::Binary>(&expression.node)) {
    simplify_predicate_in_place(*binary->left);
    simplify_predicate_in_place(*binary->right);
    // A reduction replaces `expression`, and with it `*binary`.
    if (binary->op == BinaryOp::And) {
      reduce_and(expression, *binary);
    } else if (binary->op == BinaryOp::Or) {
      reduce_or(expression, *binary);
    }
  }
}

BoundExpression simplify_predicate(BoundExpression expression) {
  simplify_predicate_in_place(expression);
  return expression;
}

Result<PlanPtr> PredicateSimplification::optimize(PlanPtr plan) const {
  if (auto* filter = plan->as<plan::Filter>()) simplify_predicate_in_place(filter->predicate);
  return optimize_filter_project_join_children(*this, std::move(plan));
}

}  // namespace zelvo
