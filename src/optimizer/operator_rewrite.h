#pragma once

#include <string>

#include "binder/bound_expression.h"
#include "common/inline_stack.h"
#include "common/result.h"
#include "common/stack_guard.h"

namespace zelvo {

// Rewrites the operators (Binary and Unary nodes) of `expression` bottom up,
// in place: `rewrite(BoundExpression& node)` is called on each of them after
// every operator below it. An operator chain may be as long as a statement
// (a + b + c + ...), so the chain of left and unary operands is walked by a
// loop; only right operands recurse, each after a check of the thread's
// stack. `nested` tells whether `expression` is itself a right operand
// (running out of stack there is nesting too deep) or a whole expression of
// the plan.
template <typename Rewrite>
Status rewrite_operators(BoundExpression& expression, const Rewrite& rewrite, bool nested = false) {
  using B = BoundExpression;
  if (expression.kind() != B::Kind::Binary && expression.kind() != B::Kind::Unary) return {};
  if (!stack_has_room()) return Error::planner(std::string(nested ? kNestedTooDeeply : kTooLarge));
  InlineStack<B*> links;
  B* node = &expression;
  for (;;) {
    if (auto* binary = std::get_if<B::Binary>(&node->node)) {
      links.push(node);
      node = binary->left.get();
    } else if (auto* unary = std::get_if<B::Unary>(&node->node)) {
      links.push(node);
      node = unary->operand.get();
    } else {
      break;
    }
  }
  while (!links.empty()) {
    B& link = *links.pop();
    if (auto* binary = std::get_if<B::Binary>(&link.node)) ZELVO_TRY(rewrite_operators(*binary->right, rewrite, true));
    rewrite(link);
  }
  return {};
}

}  // namespace zelvo
