// Expressions: operators by precedence, unary operators, primaries with
// their postfix property access and subscripts, literals, lists, maps, CASE,
// function calls and window functions.

#include <algorithm>
#include <array>
#include <tuple>

#include "parser/literal_reading.h"
#include "parser/parser_state.h"
#include "parser/tree_building.h"

namespace zelvo {

// Operator levels, loosest first. NOT is a prefix at its own level between
// AND and the comparisons; "^" is right-associative; a comparison takes at
// most one operator.
enum class ParserState::Precedence : std::uint8_t {
  Or,
  Xor,
  And,
  Not,
  Comparison,
  Additive,
  Multiplicative,
  Power,
};

namespace {

using Precedence = ParserState::Precedence;

// The binary operator a token stands for (IS, IN and NOT IN are handled
// apart).
struct InfixOperator {
  bool is_operator = false;
  Precedence level = Precedence::Or;
  BinaryOp op = BinaryOp::Add;
};

constexpr std::array<InfixOperator, kTokenKindCount + 1> build_infix_operators() {
  std::array<InfixOperator, kTokenKindCount + 1> table{};
  constexpr std::tuple<Token, Precedence, BinaryOp> kOperators[] = {
      {Token::Or, Precedence::Or, BinaryOp::Or},
      {Token::Xor, Precedence::Xor, BinaryOp::Xor},
      {Token::And, Precedence::And, BinaryOp::And},
      {Token::Eq, Precedence::Comparison, BinaryOp::Eq},
      {Token::Ne, Precedence::Comparison, BinaryOp::Ne},
      {Token::Ne2, Precedence::Comparison, BinaryOp::Ne},
      {Token::Lt, Precedence::Comparison, BinaryOp::Lt},
      {Token::Le, Precedence::Comparison, BinaryOp::Le},
      {Token::Gt, Precedence::Comparison, BinaryOp::Gt},
      {Token::Ge, Precedence::Comparison, BinaryOp::Ge},
      {Token::Plus, Precedence::Additive, BinaryOp::Add},
      {Token::Minus, Precedence::Additive, BinaryOp::Sub},
      {Token::Star, Precedence::Multiplicative, BinaryOp::Mul},
      {Token::Slash, Precedence::Multiplicative, BinaryOp::Div},
      {Token::Percent, Precedence::Multiplicative, BinaryOp::Mod},
      {Token::Caret, Precedence::Power, BinaryOp::Pow},
  };
  for (const auto& [token, level, op] : kOperators) table[static_cast<std::size_t>(token)] = {true, level, op};
  return table;
}

// Indexed by token kind, the end of input included.
constexpr std::array<InfixOperator, kTokenKindCount + 1> kInfixOperators = build_infix_operators();

// The level of the right operand of an operator at `level`.
Precedence right_operand_level(Precedence level) {
  if (level == Precedence::Power) return Precedence::Power;  // right-associative
  return static_cast<Precedence>(static_cast<std::uint8_t>(level) + 1);
}

}  // namespace

bool ParserState::parse_expression(Expression& out) { return parse_operators(Precedence::Or, out); }

// An expression of operators at `lowest` or tighter levels, by precedence
// climbing: an operand, then operators as long as they bind at least as
// tightly as `lowest` and may follow what was built so far. A chain of
// left-associative operators is built by the loop, each operator taking
// what was built so far as its left operand, so that the chain's length
// costs no stack; the right operand recurses at most once per tighter level.
bool ParserState::parse_operators(Precedence lowest, Expression& out) {
  // The tightest operator level that may still extend `out`: after NOT or a
  // comparison only AND, XOR and OR may follow.
  Precedence ceiling = Precedence::Power;
  if (lowest <= Precedence::Not && at(Token::Not)) {
    ZELVO_PARSE_TRY(parse_not_operand(out));
    ceiling = Precedence::And;
  } else {
    ZELVO_PARSE_TRY(parse_unary_expression(out));
  }
  for (;;) {
    // IS NULL, IN and NOT IN; a NOT that is not followed by IN ends the
    // expression.
    if (lowest <= Precedence::Comparison && ceiling >= Precedence::Comparison &&
        (at(Token::Is) || at(Token::In) || (at(Token::Not) && peek() == Token::In))) {
      ZELVO_PARSE_TRY(parse_comparison_suffix(out));
      ceiling = Precedence::And;
      continue;
    }
    const InfixOperator& op = kInfixOperators[static_cast<std::size_t>(current_)];
    if (!op.is_operator || op.level < lowest || op.level > ceiling) return true;
    advance();
    Expression& right = tree_building::wrap_binary(out, op.op);
    if (op.level == Precedence::Power) {
      // Right-associative: the right operand nests at the same level.
      const NestingScope nesting(*this);
      ZELVO_PARSE_TRY(check_nesting());
      ZELVO_PARSE_TRY(parse_operators(Precedence::Power, right));
    } else {
      ZELVO_PARSE_TRY(parse_operators(right_operand_level(op.level), right));
    }
    ceiling = op.level == Precedence::Comparison ? Precedence::And : op.level;
  }
}

// IS [NOT] NULL, IN list or NOT IN list after the operand `out`.
bool ParserState::parse_comparison_suffix(Expression& out) {
  if (eat(Token::Is)) {
    const bool negated = eat(Token::Not);
    ZELVO_PARSE_TRY(expect_token(Token::Null));
    tree_building::wrap_is_null(out, negated);
    return true;
  }
  const bool negated = eat(Token::Not);
  advance();  // IN
  return parse_operators(Precedence::Additive, tree_building::wrap_in(out, negated));
}

// NOT current: NOT applied to a NOT-level expression.
bool ParserState::parse_not_operand(Expression& out) {
  advance();
  const NestingScope nesting(*this);
  ZELVO_PARSE_TRY(check_nesting());
  return parse_operators(Precedence::Not, tree_building::make_unary(out, UnaryOp::Not));
}

// Prefix "-" builds a negation; prefix "+" is consumed without a node.
bool ParserState::parse_unary_expression(Expression& out) {
  if (!at(Token::Minus) && !at(Token::Plus)) return parse_postfix_expression(out);
  const bool negate = at(Token::Minus);
  advance();
  const NestingScope nesting(*this);
  ZELVO_PARSE_TRY(check_nesting());
  if (!negate) return parse_unary_expression(out);
  return parse_unary_expression(tree_building::make_unary(out, UnaryOp::Neg));
}

// A primary followed by any number of subscripts and property accesses,
// each wrapping what was built so far.
bool ParserState::parse_postfix_expression(Expression& out) {
  ZELVO_PARSE_TRY(parse_primary_expression(out));
  for (;;) {
    if (eat(Token::LBracket)) {
      ZELVO_PARSE_TRY(parse_subscript(tree_building::wrap_index(out)));
    } else if (eat(Token::Dot)) {
      ZELVO_PARSE_TRY(expect_identifier(tree_building::wrap_property(out)));
    } else {
      return true;
    }
  }
}

// "[" consumed: the index expression and "]".
bool ParserState::parse_subscript(Expression& index) {
  const NestingScope nesting(*this);
  ZELVO_PARSE_TRY(check_nesting());
  ZELVO_PARSE_TRY(parse_expression(index));
  return expect_token(Token::RBracket);
}

bool ParserState::parse_primary_expression(Expression& out) {
  switch (current_) {
    case Token::LParen: return parse_parenthesized(out);
    case Token::LBracket: return parse_list_literal(out);
    case Token::LBrace: return parse_map_literal(out.node.emplace<Expression::Map>().literal);
    case Token::Case: return parse_case_expression(out);
    case Token::Dollar: advance(); return expect_identifier(out.node.emplace<Expression::Parameter>().name);
    case Token::Identifier:
      // A name followed by "(" is a function call.
      out.node.emplace<Expression::Variable>().name.assign(current_text_);
      advance();
      if (at(Token::LParen)) return parse_function_call(out);
      return true;
    default: return parse_literal(out);
  }
}

// NULL, TRUE, FALSE, a number or a string; any other token starts no
// expression.
bool ParserState::parse_literal(Expression& out) {
  Value& value = out.node.emplace<Expression::Literal>().value;
  switch (current_) {
    case Token::Null: break;
    case Token::True:
    case Token::False: value = Value::boolean(at(Token::True)); break;
    case Token::Integer: {
      std::int64_t number = 0;
      ZELVO_PARSE_TRY(expect_integer(number));
      value = Value::int64(number);
      return true;
    }
    case Token::Float: {
      const std::optional<double> number = read_float(current_text_);
      if (!number.has_value()) return fail("Invalid float");
      value = Value::float64(*number);
      break;
    }
    case Token::SingleQuotedString:
    case Token::DoubleQuotedString: {
      std::string text;
      ZELVO_PARSE_TRY(parse_string_literal(text));
      value = Value::string(std::move(text));
      return true;
    }
    default:
      if (at_end()) return fail("Unexpected end of input");
      return fail("Unexpected token: " + std::string(token_name(current_)));
  }
  advance();
  return true;
}

// "(" current; the inner expression itself, with no node of its own.
bool ParserState::parse_parenthesized(Expression& out) {
  advance();
  const NestingScope nesting(*this);
  ZELVO_PARSE_TRY(check_nesting());
  ZELVO_PARSE_TRY(parse_expression(out));
  return expect_token(Token::RParen);
}

// "[" current: [] or [ expression {, expression} ].
bool ParserState::parse_list_literal(Expression& out) {
  advance();
  const NestingScope nesting(*this);
  ZELVO_PARSE_TRY(check_nesting());
  ListLiteral& list = out.node.emplace<Expression::List>().literal;
  if (eat(Token::RBracket)) return true;
  ZELVO_PARSE_TRY(parse_expression_list(list.elements));
  return expect_token(Token::RBracket);
}

// One or more comma-separated expressions appended to `list`.
bool ParserState::parse_expression_list(std::vector<Expression>& list) {
  do {
    ZELVO_PARSE_TRY(parse_expression(list.emplace_back()));
  } while (eat(Token::Comma));
  return true;
}

// CASE current: CASE [operand] {WHEN x THEN y} [ELSE z] END.
bool ParserState::parse_case_expression(Expression& out) {
  advance();
  const NestingScope nesting(*this);
  ZELVO_PARSE_TRY(check_nesting());
  Expression::Case& case_expression = out.node.emplace<Expression::Case>();
  if (!at(Token::When)) {
    case_expression.operand = std::make_unique<Expression>();
    ZELVO_PARSE_TRY(parse_expression(*case_expression.operand));
  }
  while (eat(Token::When)) {
    WhenClause& clause = case_expression.when_clauses.emplace_back();
    ZELVO_PARSE_TRY(parse_expression(clause.condition));
    ZELVO_PARSE_TRY(expect_token(Token::Then));
    ZELVO_PARSE_TRY(parse_expression(clause.result));
  }
  if (eat(Token::Else)) {
    case_expression.else_clause = std::make_unique<Expression>();
    ZELVO_PARSE_TRY(parse_expression(*case_expression.else_clause));
  }
  return expect_token(Token::End);
}

// `out` holds the Variable of the name and "(" is current: name ( [DISTINCT]
// [* | arguments] ) and an optional OVER window. DISTINCT of a window
// function is not recorded.
bool ParserState::parse_function_call(Expression& out) {
  const NestingScope nesting(*this);
  ZELVO_PARSE_TRY(check_nesting());
  advance();
  Expression::FunctionCall& call = tree_building::make_call(out, eat(Token::Distinct));
  if (!eat(Token::Star) && !at(Token::RParen)) ZELVO_PARSE_TRY(parse_expression_list(call.args));
  ZELVO_PARSE_TRY(expect_token(Token::RParen));
  if (!eat(Token::Over)) return true;
  return parse_window(out);
}

// OVER consumed after the call `out`: ( [PARTITION BY expressions] [ORDER BY
// keys] [ROWS | RANGE bound] ), the parts in this order.
bool ParserState::parse_window(Expression& out) {
  Expression::WindowFunction& window = tree_building::make_window(out);
  ZELVO_PARSE_TRY(expect_token(Token::LParen));
  if (eat(Token::Partition)) {
    ZELVO_PARSE_TRY(expect_token(Token::By));
    ZELVO_PARSE_TRY(parse_expression_list(window.partition_by));
  }
  if (eat(Token::Order)) {
    ZELVO_PARSE_TRY(expect_token(Token::By));
    do {
      WindowOrderKey& key = window.order_by.emplace_back();
      ZELVO_PARSE_TRY(parse_expression(key.expression));
      key.order = parse_sort_ascending() ? SortOrder::Ascending : SortOrder::Descending;
    } while (eat(Token::Comma));
  }
  if (at(Token::Rows) || at(Token::Range)) {
    WindowFrame& frame = window.frame.emplace();
    frame.frame_type = at(Token::Rows) ? WindowFrameType::Rows : WindowFrameType::Range;
    advance();
    ZELVO_PARSE_TRY(parse_window_frame_bound(frame.start));
  }
  return expect_token(Token::RParen);
}

// n PRECEDING, n FOLLOWING, CURRENT ROW, UNBOUNDED PRECEDING or UNBOUNDED
// FOLLOWING.
bool ParserState::parse_window_frame_bound(WindowFrameBound& bound) {
  using Kind = WindowFrameBound::Kind;
  if (at(Token::Integer)) {
    const std::optional<std::uint64_t> count = read_uint64(current_text_);
    if (!count.has_value()) return fail("Invalid frame bound");
    advance();
    bound.count = *count;
    if (eat(Token::Preceding)) {
      bound.kind = Kind::Preceding;
      return true;
    }
    if (eat(Token::Following)) {
      bound.kind = Kind::Following;
      return true;
    }
  } else if (eat(Token::Current)) {
    bound.kind = Kind::CurrentRow;
    return expect_token(Token::Row);
  } else if (eat(Token::Unbounded)) {
    if (eat(Token::Preceding)) {
      bound.kind = Kind::UnboundedPreceding;
      return true;
    }
    if (eat(Token::Following)) {
      bound.kind = Kind::UnboundedFollowing;
      return true;
    }
  }
  return fail("Invalid window frame bound");
}

}  // namespace zelvo
