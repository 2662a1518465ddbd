// CREATE NODE TABLE, CREATE REL TABLE, CREATE [UNIQUE] INDEX, CREATE
// SEQUENCE, CREATE MACRO, CREATE TYPE, data types and signed integers.

#include "parser/literal_reading.h"
#include "parser/parser_state.h"

namespace zelvo {

namespace {

constexpr std::size_t kTypicalColumnCount = 4;

// The type a type keyword names, or nothing for any other token.
std::optional<LogicalTypeKind> type_keyword_kind(Token token) {
  switch (token) {
    case Token::TypeString: return LogicalTypeKind::String;
    case Token::TypeInt8: return LogicalTypeKind::Int8;
    case Token::TypeInt16: return LogicalTypeKind::Int16;
    case Token::TypeInt32: return LogicalTypeKind::Int32;
    case Token::TypeInt64: return LogicalTypeKind::Int64;
    case Token::TypeInt128: return LogicalTypeKind::Int128;
    case Token::TypeUInt8: return LogicalTypeKind::UInt8;
    case Token::TypeUInt16: return LogicalTypeKind::UInt16;
    case Token::TypeUInt32: return LogicalTypeKind::UInt32;
    case Token::TypeUInt64: return LogicalTypeKind::UInt64;
    case Token::TypeFloat:
    case Token::TypeFloat32: return LogicalTypeKind::Float32;
    case Token::TypeFloat64:
    case Token::TypeDouble: return LogicalTypeKind::Float64;
    case Token::TypeBool:
    case Token::TypeBoolean: return LogicalTypeKind::Bool;
    case Token::TypeDate: return LogicalTypeKind::Date;
    case Token::TypeTimestamp: return LogicalTypeKind::Timestamp;
    case Token::TypeInterval: return LogicalTypeKind::Interval;
    case Token::TypeBlob: return LogicalTypeKind::Blob;
    case Token::TypeUuid: return LogicalTypeKind::Uuid;
    case Token::TypeSerial: return LogicalTypeKind::Serial;
    default: return std::nullopt;
  }
}

}  // namespace

// NODE current.
bool ParserState::parse_create_node_table(Statement& out) {
  advance();
  ZELVO_PARSE_TRY(expect_token(Token::Table));
  auto& table = out.node.emplace<Statement::CreateNodeTable>();
  ZELVO_PARSE_TRY(expect_identifier(table.name));
  ZELVO_PARSE_TRY(expect_token(Token::LParen));
  // Room for a typical table's columns up front: regrowing moves every
  // definition, and each is large.
  table.columns.reserve(kTypicalColumnCount);
  do {
    if (eat(Token::Primary)) {
      // The key may stand anywhere among the columns; the last one counts.
      ZELVO_PARSE_TRY(expect_token(Token::Key));
      ZELVO_PARSE_TRY(expect_token(Token::LParen));
      ZELVO_PARSE_TRY(expect_identifier(table.primary_key));
      ZELVO_PARSE_TRY(expect_token(Token::RParen));
    } else {
      ZELVO_PARSE_TRY(parse_column_definition(table.columns.emplace_back()));
    }
  } while (eat(Token::Comma));
  return expect_token(Token::RParen);
}

// REL current. A relationship table has no PRIMARY KEY clause.
bool ParserState::parse_create_rel_table(Statement& out) {
  advance();
  ZELVO_PARSE_TRY(expect_token(Token::Table));
  auto& table = out.node.emplace<Statement::CreateRelTable>();
  ZELVO_PARSE_TRY(expect_identifier(table.name));
  ZELVO_PARSE_TRY(expect_token(Token::LParen));
  ZELVO_PARSE_TRY(expect_token(Token::From));
  ZELVO_PARSE_TRY(expect_identifier(table.from_table));
  ZELVO_PARSE_TRY(expect_token(Token::To));
  ZELVO_PARSE_TRY(expect_identifier(table.to_table));
  while (eat(Token::Comma)) {
    ZELVO_PARSE_TRY(parse_column_definition(table.columns.emplace_back()));
  }
  return expect_token(Token::RParen);
}

bool ParserState::parse_column_definition(ColumnDefinition& column) {
  return expect_identifier(column.name) && parse_data_type(column.data_type);
}

// The index name current.
bool ParserState::parse_create_index_body(Statement& out, bool unique) {
  auto& index = out.node.emplace<Statement::CreateIndex>();
  index.unique = unique;
  ZELVO_PARSE_TRY(expect_identifier(index.name));
  ZELVO_PARSE_TRY(expect_token(Token::On));
  ZELVO_PARSE_TRY(expect_identifier(index.table));
  ZELVO_PARSE_TRY(expect_token(Token::LParen));
  do {
    ZELVO_PARSE_TRY(expect_identifier(index.columns.emplace_back()));
  } while (eat(Token::Comma));
  return expect_token(Token::RParen);
}

// SEQUENCE current. The options come in any order, each as often as written
// (the last value counts); any other token ends the statement.
bool ParserState::parse_create_sequence(Statement& out) {
  advance();
  auto& sequence = out.node.emplace<Statement::CreateSequence>();
  ZELVO_PARSE_TRY(expect_identifier(sequence.name));
  for (;;) {
    if (eat(Token::Start)) {
      eat(Token::With);
      ZELVO_PARSE_TRY(parse_signed_integer(sequence.start));
    } else if (eat(Token::Increment)) {
      eat(Token::By);
      ZELVO_PARSE_TRY(parse_signed_integer(sequence.increment));
    } else if (eat(Token::MinValue)) {
      ZELVO_PARSE_TRY(parse_signed_integer(sequence.min_value));
    } else if (eat(Token::MaxValue)) {
      ZELVO_PARSE_TRY(parse_signed_integer(sequence.max_value));
    } else if (eat(Token::Cycle)) {
      sequence.cycle = true;
    } else {
      return true;
    }
  }
}

// MACRO current. The body is a parenthesised query.
bool ParserState::parse_create_macro(Statement& out) {
  advance();
  auto& macro = out.node.emplace<Statement::CreateMacro>();
  ZELVO_PARSE_TRY(expect_identifier(macro.name));
  ZELVO_PARSE_TRY(expect_token(Token::LParen));
  if (!at(Token::RParen)) {
    do {
      ZELVO_PARSE_TRY(expect_identifier(macro.parameters.emplace_back()));
    } while (eat(Token::Comma));
  }
  ZELVO_PARSE_TRY(expect_token(Token::RParen));
  ZELVO_PARSE_TRY(expect_token(Token::As));
  ZELVO_PARSE_TRY(expect_token(Token::LParen));
  macro.body = std::make_unique<Statement>(unfilled_statement());
  ZELVO_PARSE_TRY(parse_query(macro.body->node.emplace<Statement::Query>().query));
  return expect_token(Token::RParen);
}

// TYPE current: AS ENUM ('value', ...), AS { field: type, ... } or AS type.
bool ParserState::parse_create_type(Statement& out) {
  advance();
  auto& type = out.node.emplace<Statement::CreateType>();
  ZELVO_PARSE_TRY(expect_identifier(type.name));
  ZELVO_PARSE_TRY(expect_token(Token::As));
  auto& definition = type.definition.node;
  if (eat(Token::Enum)) {
    ZELVO_PARSE_TRY(expect_token(Token::LParen));
    auto& values = definition.emplace<TypeDefinition::Enum>().values;
    do {
      ZELVO_PARSE_TRY(parse_string_literal(values.emplace_back()));
    } while (eat(Token::Comma));
    return expect_token(Token::RParen);
  }
  if (eat(Token::LBrace)) {
    auto& fields = definition.emplace<TypeDefinition::Struct>().fields;
    if (eat(Token::RBrace)) return true;
    do {
      auto& [name, field_type] = fields.emplace_back();
      ZELVO_PARSE_TRY(expect_identifier(name));
      ZELVO_PARSE_TRY(expect_token(Token::Colon));
      ZELVO_PARSE_TRY(parse_data_type(field_type));
    } while (eat(Token::Comma));
    return expect_token(Token::RBrace);
  }
  return parse_data_type(definition.emplace<TypeDefinition::Alias>().type);
}

// One type keyword, optionally followed by one "[]" for a list of it.
bool ParserState::parse_data_type(LogicalType& type) {
  if (at_end()) return fail("Expected type");
  const std::optional<LogicalTypeKind> kind = type_keyword_kind(current_);
  if (!kind.has_value()) return fail("Expected type, got " + std::string(token_name(current_)));
  advance();
  type = LogicalType(*kind);
  if (eat(Token::LBracket)) {
    ZELVO_PARSE_TRY(expect_token(Token::RBracket));
    type = LogicalType::list(std::move(type));
  }
  return true;
}

// The sign is applied after reading the digits, so -9223372036854775808
// cannot be written.
bool ParserState::parse_signed_integer(std::optional<std::int64_t>& value) {
  const bool negative = eat(Token::Minus);
  if (!at(Token::Integer)) return fail(negative ? "Expected integer after minus" : "Expected integer literal");
  const std::optional<std::int64_t> number = read_int64(current_text_);
  if (!number.has_value()) return fail("Invalid integer");
  advance();
  value = negative ? -*number : *number;
  return true;
}

}  // namespace zelvo
