#include "parser/syntax_tree.h"

#include "common/chain_delete.h"
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
  delete_chain(expression, release_first_child);
}

void QueryStatementDeleter::operator()(QueryStatement* query) const noexcept {
  delete_chain(query, [](QueryStatement& node) { return node.union_query.release(); });
}

void StatementDeleter::operator()(Statement* statement) const noexcept {
  delete_chain(statement,
               release_nested_statement<Statement, Statement::Explain, Statement::Profile, Statement::CreateMacro>);
}

}  // namespace zelvo
