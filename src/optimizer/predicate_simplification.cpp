#include "optimizer/predicate_simplification.h"

#include <optional>

#include "optimizer/operator_rewrite.h"
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

// Reduces `node`, a Binary or Unary over simplified operands. A reduction
// replaces `node`, and with it the operator it was made of.
void reduce_operator(BoundExpression& node) {
  if (auto* unary = std::get_if<BoundExpression::Unary>(&node.node)) {
    if (unary->op == UnaryOp::Not) reduce_not(node, *unary);
    return;
  }
  auto& binary = std::get<BoundExpression::Binary>(node.node);
  if (binary.op == BinaryOp::And) {
    reduce_and(node, binary);
  } else if (binary.op == BinaryOp::Or) {
    reduce_or(node, binary);
  }
}

}  // namespace

// Bottom-up, in place.
Status simplify_predicate_in_place(BoundExpression& expression) {
  return rewrite_operators(expression, reduce_operator);
}

Result<BoundExpression> simplify_predicate(BoundExpression expression) {
  ZELVO_TRY(simplify_predicate_in_place(expression));
  return expression;
}

Result<PlanPtr> PredicateSimplification::optimize(PlanPtr plan) const {
  ZELVO_TRY(rewrite_plan(plan, [](PlanPtr& slot, PlanSlots& next) -> Status {
    if (auto* filter = slot->as<plan::Filter>()) ZELVO_TRY(simplify_predicate_in_place(filter->predicate));
    push_filter_project_join_children(*slot, next);
    return {};
  }));
  return plan;
}

}  // namespace zelvo
