#include "parser/syntax_tree.h"

#include "parser/statement.h"

namespace zelvo {

namespace {

// The child that continues a chain below `expression`, taken out of it.
Expression* release_first_child(Expression& expression) {
  using E = Expression;
  if (auto* binary = std::get_if<E::Binary>(&expression.node)) return binary->left.release();
  if (auto* property = std::get_if<E::Property>(&expression.node)) return property->base.release();
  if (auto* index = std::get_if<E::Index>(&expression.node)) return index->base.release();
  if (auto* unary = std::get_if<E::Unary>(&expression.node)) return unary->operand.release();
  if (auto* is_null = std::get_if<E::IsNull>(&expression.node)) return is_null->operand.release();
  if (auto* in = std::get_if<E::In>(&expression.node)) return in->operand.release();
  if (auto* match = std::get_if<E::StringMatch>(&expression.node)) return match->operand.release();
  return nullptr;
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
