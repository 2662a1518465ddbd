// The parser's view of the token stream, the token routines every grammar
// area uses, failure recording and the parser's entry.

#include <algorithm>

#include "common/invariant.h"
#include "common/stack_guard.h"
#include "parser/literal_reading.h"
#include "parser/parser.h"
#include "parser/parser_state.h"

namespace zelvo {

namespace {

// The grammar's view of a lexer outcome: a span that begins no token
// arrives as an identifier.
Token token_of(std::uint8_t outcome) {
  if (outcome == Lexer::kEndOfInput) return kEndOfInput;
  return outcome == Lexer::kError ? Token::Identifier : static_cast<Token>(outcome);
}

}  // namespace

ParserState::ParserState(std::string_view text) : lexer_(text) {
  lex_next_token(lexer_);
  advance();
}

Error ParserState::take_error() {
  ZELVO_CHECK(error_.has_value(), "a parsing routine failed without recording an error");
  return std::move(*error_);
}

void ParserState::advance() {
  current_ = token_of(lexer_.outcome);
  current_text_ = lexer_.token_text();
  lex_next_token(lexer_);
}

Token ParserState::peek() const { return token_of(lexer_.outcome); }

[[gnu::cold, gnu::noinline]] ParserState::Failed ParserState::fail(std::string message) {
  if (!error_.has_value()) error_ = Error::parser(std::move(message));
  return Failed{};
}

[[gnu::cold, gnu::noinline]] ParserState::Failed ParserState::fail_wanted(Token wanted) {
  std::string text = "Expected ";
  text += token_name(wanted);
  if (at_end()) {
    text += ", got None";
  } else {
    text += ", got Some(";
    text += token_name(current_);
    text += ')';
  }
  return fail(std::move(text));
}

[[gnu::cold, gnu::noinline]] ParserState::Failed ParserState::fail_got(std::string_view expected) {
  std::string text(expected);
  if (!at_end()) {
    text += ", got ";
    text += token_name(current_);
  }
  return fail(std::move(text));
}

bool ParserState::expect_identifier(std::string& name) {
  if (at(Token::Identifier)) {
    name.assign(current_text_);
  } else if (at(Token::QuotedIdentifier)) {
    name.assign(current_text_.substr(1, current_text_.size() - 2));  // without the back-quotes
  } else {
    return fail_got("Expected identifier");
  }
  advance();
  return true;
}

bool ParserState::expect_identifier(std::optional<std::string>& name) { return expect_identifier(name.emplace()); }

bool ParserState::expect_integer(std::int64_t& value) {
  if (!at(Token::Integer)) return fail_got("Expected integer");
  const std::optional<std::int64_t> number = read_int64(current_text_);
  if (!number.has_value()) return fail("Invalid integer");
  value = *number;
  advance();
  return true;
}

bool ParserState::parse_string_literal(std::string& value) {
  if (!at(Token::SingleQuotedString) && !at(Token::DoubleQuotedString)) return fail_got("Expected string");
  value = unescape_string_literal(current_text_);
  advance();
  return true;
}

bool ParserState::check_nesting() {
  if (depth_ > Parser::kMaxNestingDepth) return fail("Statement is nested too deeply");
  deepest_constructs_ = std::max(deepest_constructs_, constructs_);
  if (stack_has_room()) return true;
  // Without room for even the first construct, the stack was short before
  // the statement nested; the links of a chain do not nest.
  return fail(std::string(constructs_ <= 1 ? kTooLarge : kNestedTooDeeply));
}

Result<Statement> Parser::parse(std::string_view text) {
  ParserState state(text);
  // The statement is built inside the result, so that the finished tree is
  // never moved.
  Result<Statement> result(ParserState::unfilled_statement());
  if (state.parse_statement(*result)) {
    result->nesting_depth = state.deepest_constructs();
  } else {
    result = state.take_error();
  }
  return result;
}

}  // namespace zelvo
