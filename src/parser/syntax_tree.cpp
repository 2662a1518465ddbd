#include "parser/syntax_tree.h"

namespace zelvo {

namespace {

// The child that continues a chain below `expression`, taken out of it.
Expression* release_first_child(Expression& expression) {
  return std::visit(
      [](auto& node) -> Expression* {
        using T = std::decay_t<decltype(node)>;
        if constexpr (std::is_same_v<T, Expression::Binary>) {
          return node.left.release();
        } else if constexpr (std::is_same_v<T, Expression::Property> || std::is_same_v<T, Expression::Index>) {
          return node.base.release();
        } else if constexpr (std::is_same_v<T, Expression::Unary>) {
          return node.operand.release();
        } else if constexpr (std::is_same_v<T, Expression::IsNull> || std::is_same_v<T, Expression::In> ||
                             std::is_same_v<T, Expression::StringMatch>) {
          return node.operand.release();
        } else {
          return nullptr;
        }
      },
      expression.node);
}

}  // namespace

void ExpressionDeleter::operator()(Expression* expression) const noexcept {
  while (expression != nullptr) {
    Expression* next = release_first_child(*expression);
    delete expression;  // its other children go by their own deleters
    expression = next;
  }
}

}  // namespace zelvo
