// Transactions, COPY, CALL (with the setting form CALL name = value), LOAD,
// ATTACH, DETACH, USE, EXPORT and IMPORT. Each routine starts with its first
// keyword current.

#include "parser/parser_state.h"

namespace zelvo {

bool ParserState::parse_begin(Statement& out) {
  advance();
  eat(Token::Transaction);
  bool& read_only = out.node.emplace<Statement::BeginTransaction>().read_only;
  read_only = eat(Token::Read);
  return !read_only || expect_token(Token::Only);
}

bool ParserState::parse_copy(Statement& out) {
  advance();
  std::string table;
  ZELVO_PARSE_TRY(expect_identifier(table));
  if (eat(Token::From)) {
    auto& copy = out.node.emplace<Statement::CopyFrom>();
    copy.table = std::move(table);
    return parse_string_literal(copy.path);
  }
  if (eat(Token::To)) {
    auto& copy = out.node.emplace<Statement::CopyTo>();
    copy.table = std::move(table);
    return parse_string_literal(copy.path);
  }
  return fail("Expected FROM or TO after COPY table");
}

// A procedure call, with or without parentheses, or a setting name = value.
bool ParserState::parse_call(Statement& out) {
  advance();
  std::string name;
  ZELVO_PARSE_TRY(expect_identifier(name));
  if (eat(Token::Eq)) {
    auto& set = out.node.emplace<Statement::Set>();
    set.name = std::move(name);
    ZELVO_PARSE_TRY(parse_expression(set.value));
    return true;
  }
  auto& call = out.node.emplace<Statement::Call>();
  call.name = std::move(name);
  if (!eat(Token::LParen) || eat(Token::RParen)) return true;
  return parse_expression_list(call.args) && expect_token(Token::RParen);
}

bool ParserState::parse_load(Statement& out) {
  advance();
  ZELVO_PARSE_TRY(expect_token(Token::From));
  auto& load = out.node.emplace<Statement::LoadFrom>();
  ZELVO_PARSE_TRY(parse_string_literal(load.path));
  return !eat(Token::With) || expect_identifier(load.format);
}

bool ParserState::parse_attach(Statement& out) {
  advance();
  ZELVO_PARSE_TRY(expect_token(Token::Database));
  auto& attach = out.node.emplace<Statement::Attach>();
  ZELVO_PARSE_TRY(parse_string_literal(attach.path));
  return !eat(Token::As) || expect_identifier(attach.alias);
}

// DETACH DATABASE name, USE DATABASE name.
bool ParserState::parse_database_name(Statement& out) {
  const bool detach = at(Token::Detach);
  advance();
  ZELVO_PARSE_TRY(expect_token(Token::Database));
  if (detach) return expect_identifier(out.node.emplace<Statement::Detach>().name);
  return expect_identifier(out.node.emplace<Statement::Use>().name);
}

// EXPORT DATABASE 'path', IMPORT DATABASE 'path'.
bool ParserState::parse_database_path(Statement& out) {
  const bool export_database = at(Token::Export);
  advance();
  ZELVO_PARSE_TRY(expect_token(Token::Database));
  if (export_database) return parse_string_literal(out.node.emplace<Statement::ExportDatabase>().path);
  return parse_string_literal(out.node.emplace<Statement::ImportDatabase>().path);
}

}  // namespace zelvo
