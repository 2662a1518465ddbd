#include "parse_helpers.h"

namespace zelvo::parser_test {

namespace {

class SlotList {
 public:
  template <typename T>
  void add(std::string_view name, const T& value, bool present) {
    if (!present) return;
    if (!text_.empty()) text_ += "; ";
    text_ += name;
    text_ += ": ";
    text_ += debug_text(value);
  }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
};

}  // namespace

std::string parse_text(std::string_view text) {
  const Result<Statement> result = Parser::parse(text);
  if (!result.ok()) return "error: " + result.error().message();
  return debug_text(result.value());
}

std::string error_text(std::string_view text) {
  const Result<Statement> result = Parser::parse(text);
  if (result.ok()) return "parsed";
  return result.error().kind() == ErrorKind::Parser ? result.error().message() : "not a parser error";
}

std::string expression_text(std::string_view expression) {
  const Result<Statement> result = Parser::parse("RETURN " + std::string(expression));
  if (!result.ok()) return result.error().message();
  return debug_text(std::get<Statement::Query>(result->node).query.return_clause->items.at(0).expression);
}

std::string query_slots(std::string_view text) {
  const Result<Statement> result = Parser::parse(text);
  if (!result.ok()) return result.error().message();
  const QueryStatement& q = std::get<Statement::Query>(result->node).query;
  SlotList slots;
  slots.add("match", q.match_clauses, !q.match_clauses.empty());
  slots.add("optional_match", q.optional_match_clauses, !q.optional_match_clauses.empty());
  slots.add("create", q.create_clauses, !q.create_clauses.empty());
  slots.add("delete", q.delete_clause, q.delete_clause.has_value());
  slots.add("set", q.set_clauses, !q.set_clauses.empty());
  slots.add("unwind", q.unwind_clause, q.unwind_clause.has_value());
  slots.add("foreach", q.foreach_clauses, !q.foreach_clauses.empty());
  slots.add("where", q.where_clause, q.where_clause.has_value());
  slots.add("with", q.with_clause, q.with_clause.has_value());
  slots.add("return", q.return_clause, q.return_clause.has_value());
  slots.add("order_by", q.order_by, q.order_by.has_value());
  slots.add("skip", q.skip, q.skip.has_value());
  slots.add("limit", q.limit, q.limit.has_value());
  if (q.union_query != nullptr) slots.add("union", *q.union_query, true);
  return slots.take();
}

}  // namespace zelvo::parser_test
