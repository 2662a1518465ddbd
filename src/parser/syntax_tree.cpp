#include "parser/syntax_tree.h"

#include "parser/statement.h"

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

void QueryStatementDeleter::operator()(QueryStatement* query) const noexcept {
  while (query != nullptr) {
    QueryStatement* next = query->union_query.release();
    delete query;
    query = next;
  }
}

void StatementDeleter::operator()(Statement* statement) const noexcept {
  while (statement != nullptr) {
    Statement* inner = nullptr;
    if (auto* explain = std::get_if<Statement::Explain>(&statement->node)) {
      inner = explain->statement.release();
    } else if (auto* profile = std::get_if<Statement::Profile>(&statement->node)) {
      inner = profile->statement.release();
    } else if (auto* macro = std::get_if<Statement::CreateMacro>(&statement->node)) {
      inner = macro->body.release();
    }
    delete statement;
    statement = inner;
  }
}

}  // namespace zelvo
