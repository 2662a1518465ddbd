// Graph patterns and map literals.

#include <limits>

#include "parser/parser_state.h"

namespace zelvo {

namespace {

bool opens_relationship(Token token) {
  return token == Token::Minus || token == Token::LeftArrow || token == Token::DoubleMinus;
}

}  // namespace

// Comma-separated elements, each a node optionally followed by relationship
// steps. Stops at the first token after the last element.
bool ParserState::parse_pattern(Pattern& pattern) {
  do {
    NodePattern start;
    ZELVO_PARSE_TRY(parse_node_pattern(start));
    if (!opens_relationship(current_)) {
      pattern.elements.emplace_back().node = std::move(start);
      continue;
    }
    auto& chain = pattern.elements.emplace_back().node.emplace<PatternChain>();
    chain.start = std::move(start);
    while (opens_relationship(current_)) {
      // "--" is one token, so it cannot open a relationship.
      if (at(Token::DoubleMinus)) return fail_wanted(Token::Minus);
      const bool incoming = at(Token::LeftArrow);
      advance();
      PatternStep& step = chain.relationships.emplace_back();
      RelPattern& rel = step.relationship;
      if (at(Token::LBracket)) ZELVO_PARSE_TRY(parse_relationship_detail(rel));
      if (incoming) {
        eat(Token::Minus);
        rel.direction = Direction::Incoming;
      } else if (eat(Token::Arrow)) {
        rel.direction = Direction::Outgoing;
      } else {
        // A closing "-", or none at all.
        eat(Token::Minus);
        rel.direction = Direction::Both;
      }
      ZELVO_PARSE_TRY(parse_node_pattern(step.node));
    }
  } while (eat(Token::Comma));
  return true;
}

// ( [variable] {:label} [map] ). Only a plain identifier is taken as the
// variable; labels may be back-quoted.
bool ParserState::parse_node_pattern(NodePattern& node) {
  ZELVO_PARSE_TRY(expect_token(Token::LParen));
  if (at(Token::Identifier)) ZELVO_PARSE_TRY(expect_identifier(node.variable));
  while (eat(Token::Colon)) {
    ZELVO_PARSE_TRY(expect_identifier(node.labels.emplace_back()));
  }
  if (at(Token::LBrace)) ZELVO_PARSE_TRY(parse_map_literal(node.properties.emplace()));
  return expect_token(Token::RParen);
}

// "[" current: [ [variable] [:type {|type}] [* [min] [.. [max]]] [map] ].
bool ParserState::parse_relationship_detail(RelPattern& rel) {
  advance();
  if (at(Token::Identifier)) ZELVO_PARSE_TRY(expect_identifier(rel.variable));
  if (eat(Token::Colon)) {
    do {
      ZELVO_PARSE_TRY(expect_identifier(rel.rel_types.emplace_back()));
    } while (eat(Token::Pipe));
  }
  if (eat(Token::Star)) {
    RelLength& length = rel.length.emplace();
    if (at(Token::Integer)) ZELVO_PARSE_TRY(expect_length_bound(length.min));
    if (eat(Token::DotDot)) {
      if (at(Token::Integer)) ZELVO_PARSE_TRY(expect_length_bound(length.max));
    } else {
      length.max = length.min;  // "*2" means exactly two hops
    }
  }
  if (at(Token::LBrace)) ZELVO_PARSE_TRY(parse_map_literal(rel.properties.emplace()));
  return expect_token(Token::RBracket);
}

// A hop count must fit its 32-bit field.
bool ParserState::expect_length_bound(std::optional<std::uint32_t>& bound) {
  std::int64_t value = 0;
  ZELVO_PARSE_TRY(expect_integer(value));
  if (value > std::numeric_limits<std::uint32_t>::max()) return fail("Invalid integer");
  bound = static_cast<std::uint32_t>(value);
  return true;
}

// "{" current: { key: value, ... }. Keys are identifiers or back-quoted
// identifiers.
bool ParserState::parse_map_literal(MapLiteral& map) {
  ZELVO_PARSE_TRY(expect_token(Token::LBrace));
  const NestingScope nesting(*this);
  ZELVO_PARSE_TRY(check_nesting());
  if (eat(Token::RBrace)) return true;
  do {
    MapEntry& entry = map.entries.emplace_back();
    ZELVO_PARSE_TRY(expect_identifier(entry.key));
    ZELVO_PARSE_TRY(expect_token(Token::Colon));
    ZELVO_PARSE_TRY(parse_expression(entry.value));
  } while (eat(Token::Comma));
  return eat(Token::RBrace) || fail_wanted(Token::RBrace);
}

}  // namespace zelvo
