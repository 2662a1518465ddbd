#include "optimizer/predicate_simplification.h"

#include <optional>

#include "common/inline_stack.h"
#include "common/stack_guard.h"
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

// Bottom-up: the chain of left operands and NOT operands below
// `expression` is walked by a loop and reduced from its bottom up; right
// operands recurse. `nested`: whether `expression` is an operand inside another expression
// (running out of stack there is nesting too deep) or a whole expression of
// the plan.
Status simplify_predicate_at(BoundExpression& expression, bool nested) {
  // Only operators have anything to rewrite.
  if (expression.kind() != BoundExpression::Kind::Binary && expression.kind() != BoundExpression::Kind::Unary) {
    return {};
  }
  if (!stack_has_room()) return Error::planner(std::string(nested ? kNestedTooDeeply : kTooLarge));
  InlineStack<BoundExpression*> links;
  BoundExpression* node = &expression;
  for (;;) {
    if (auto* binary = std::get_if<BoundExpression::Binary>(&node->node)) {
      links.push(node);
      node = binary->left.get();
    } else if (auto* unary = std::get_if<BoundExpression::Unary>(&node->node)) {
      links.push(node);
      node = unary->operand.get();
    } else {
      break;
    }
  }
  while (!links.empty()) {
    BoundExpression& link = *links.pop();
    // A reduction replaces `link`, and with it the node it was made of.
    if (auto* unary = std::get_if<BoundExpression::Unary>(&link.node)) {
      if (unary->op == UnaryOp::Not) reduce_not(link, *unary);
      continue;
    }
    auto& binary = std::get<BoundExpression::Binary>(link.node);
    ZELVO_TRY(simplify_predicate_at(*binary.right, true));
    if (binary.op == BinaryOp::And) {
      reduce_and(link, binary);
    } else if (binary.op == BinaryOp::Or) {
      reduce_or(link, binary);
    }
  }
  return {};
}

}  // namespace

Status simplify_predicate_in_place(BoundExpression& expression) { return simplify_predicate_at(expression, false); }

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
