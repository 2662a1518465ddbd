// Statement dispatch by the first tokens, EXPLAIN and PROFILE, DROP and
// ALTER TABLE.

#include "parser/parser_state.h"

namespace zelvo {

bool ParserState::parse_statement(Statement& out) {
  // EXPLAIN and PROFILE wrap the statement after them. The chain of wrappers
  // is built in a loop, one nesting level per wrapper.
  NestingScope nesting(*this, NestingScope::Opens::Chain);
  Statement* target = &out;
  for (;;) {
    if (at(Token::Explain)) {
      advance();
      auto& explain = target->node.emplace<Statement::Explain>();
      explain.analyze = eat(Token::Analyze);
      explain.logical = eat(Token::Logical);
      explain.statement = std::make_unique<Statement>(unfilled_statement());
      target = explain.statement.get();
    } else if (at(Token::Profile)) {
      advance();
      auto& profile = target->node.emplace<Statement::Profile>();
      profile.statement = std::make_unique<Statement>(unfilled_statement());
      target = profile.statement.get();
    } else {
      return parse_single_statement(*target);
    }
    nesting.deepen();
    ZELVO_PARSE_TRY(check_nesting());
  }
}

bool ParserState::parse_single_statement(Statement& out) {
  switch (current_) {
    case Token::Create: advance(); return parse_create(out);
    case Token::Drop: advance(); return parse_drop(out);
    case Token::Alter: advance(); return parse_alter_table(out);
    case Token::Begin: return parse_begin(out);
    case Token::Commit:
      advance();
      out.node.emplace<Statement::Commit>();
      return true;
    case Token::Rollback:
      advance();
      out.node.emplace<Statement::Rollback>();
      return true;
    case Token::Copy: return parse_copy(out);
    case Token::Call: return parse_call(out);
    case Token::Load: return parse_load(out);
    case Token::Attach: return parse_attach(out);
    case Token::Detach:
    case Token::Use: return parse_database_name(out);
    case Token::Export:
    case Token::Import: return parse_database_path(out);
    default:
      if (at_end()) return fail("Unexpected end of input");
      return parse_query(out.node.emplace<Statement::Query>().query);
  }
}

bool ParserState::parse_create(Statement& out) {
  switch (current_) {
    case Token::Node: return parse_create_node_table(out);
    case Token::Rel: return parse_create_rel_table(out);
    case Token::Index: advance(); return parse_create_index_body(out, false);
    case Token::Unique:
      advance();
      ZELVO_PARSE_TRY(expect_token(Token::Index));
      return parse_create_index_body(out, true);
    case Token::Sequence: return parse_create_sequence(out);
    case Token::Macro: return parse_create_macro(out);
    case Token::Type: return parse_create_type(out);
    default: return parse_create_led_query(out.node.emplace<Statement::Query>().query);
  }
}

bool ParserState::parse_drop(Statement& out) {
  switch (current_) {
    case Token::Node:
    case Token::Rel:
      advance();
      if (!at(Token::Table)) return fail_wanted(Token::Table);
      return parse_drop_table(out);
    case Token::Table: return parse_drop_table(out);
    case Token::Index: advance(); return expect_identifier(out.node.emplace<Statement::DropIndex>().name);
    case Token::Sequence: return parse_drop_sequence(out);
    default:
      if (at_end()) return fail("Expected TABLE, INDEX, or SEQUENCE after DROP");
      return fail("Unexpected token after DROP: " + std::string(token_name(current_)));
  }
}

// TABLE current; DROP NODE TABLE and DROP REL TABLE give the same statement.
bool ParserState::parse_drop_table(Statement& out) {
  advance();
  auto& drop = out.node.emplace<Statement::DropTable>();
  return parse_if_exists(drop.if_exists) && expect_identifier(drop.name);
}

bool ParserState::parse_drop_sequence(Statement& out) {
  advance();
  auto& drop = out.node.emplace<Statement::DropSequence>();
  return parse_if_exists(drop.if_exists) && expect_identifier(drop.name);
}

bool ParserState::parse_if_exists(bool& if_exists) {
  if_exists = eat(Token::If);
  return !if_exists || expect_token(Token::Exists);
}

// ALTER consumed.
bool ParserState::parse_alter_table(Statement& out) {
  ZELVO_PARSE_TRY(expect_token(Token::Table));
  auto& alter = out.node.emplace<Statement::AlterTable>();
  ZELVO_PARSE_TRY(expect_identifier(alter.table));
  auto& action = alter.action.node;
  switch (current_) {
    case Token::Drop:
      advance();
      eat(Token::Column);
      return expect_identifier(action.emplace<AlterAction::DropColumn>().column);
    case Token::Rename: {
      advance();
      if (eat(Token::To)) return expect_identifier(action.emplace<AlterAction::RenameTable>().new_name);
      eat(Token::Column);
      auto& rename = action.emplace<AlterAction::RenameColumn>();
      return expect_identifier(rename.old_name) && expect_token(Token::To) && expect_identifier(rename.new_name);
    }
    case Token::Add: {
      advance();
      eat(Token::Column);
      return parse_column_definition(action.emplace<AlterAction::AddColumn>().column);
    }
    default: return fail("Expected ADD, DROP, or RENAME after ALTER TABLE");
  }
}

}  // namespace zelvo
