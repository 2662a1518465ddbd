#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/error.h"
#include "parser/lexer.h"
#include "parser/statement.h"
#include "parser/token.h"

namespace zelvo {

// The state of one parse and its recursive-descent routines (internal to
// the parser library). The routines live in parse_*.cpp by area.
//
// Failures: a routine that fails records the parser Error in the state
// (only the first one counts) and reports failure (false); its callers pass
// the failure up (ZELVO_PARSE_TRY) and Parser::parse hands the recorded
// Error back. Products are written through reference parameters and nodes
// are built in place. All of this keeps the frames of the recursive
// routines small: a Result would carry a whole Error through every frame,
// and a nesting level must cost only a few hundred bytes of stack so that
// the deepest statement the nesting bound admits fits a small thread stack.
//
// The routines recurse only where the statement nests (parentheses, lists,
// maps, CASE, calls, subscripts, prefix operators, "^", FOREACH); chains of
// left-associative operators, property accesses and subscripts, UNION
// chains and EXPLAIN/PROFILE prefixes are built by loops. Each nesting level
// opens a NestingScope and checks both the count of open levels and the
// stack left (check_nesting).
class ParserState {
 public:
  explicit ParserState(std::string_view text);

  // A statement for parse_statement to fill. It holds the payload-less
  // Commit until the parser puts the parsed node in its place, so that
  // creating, moving and replacing it costs next to nothing (an empty Query
  // is large).
  static Statement unfilled_statement() { return Statement{Statement::Commit{}}; }

  [[nodiscard]] bool parse_statement(Statement& out);
  // The deepest nesting of constructs met so far (Statement::nesting_depth).
  std::uint32_t deepest_constructs() const { return deepest_constructs_; }
  // The failure recorded by a routine that returned false.
  Error take_error();

  static constexpr bool succeeded(bool ok) { return ok; }

  // A failure already recorded in the state.
  struct Failed {
    constexpr operator bool() const { return false; }  // NOLINT: implicit by design
  };

  // Operator levels of expressions (parse_expression.cpp).
  enum class Precedence : std::uint8_t;

 private:
  class NestingScope;

  // Token stream and token routines (token_stream.cpp). The current token
  // is kEndOfInput at the end of the text; a faulty span arrives as an
  // Identifier. The lexer runs one token ahead: it holds the token after the
  // current one, so that peek() costs nothing and lexing overlaps the work
  // on the current token. The tests of the current token are inline.
  bool at(Token kind) const { return current_ == kind; }
  bool at_end() const { return current_ == kEndOfInput; }
  void advance();
  bool eat(Token kind) {
    if (current_ != kind) return false;
    advance();
    return true;
  }
  // The kind of the token after the current one, without consuming anything.
  Token peek() const;
  [[nodiscard]] bool expect_token(Token kind) { return eat(kind) || fail_wanted(kind); }
  [[nodiscard]] bool expect_identifier(std::string& name);
  [[nodiscard]] bool expect_identifier(std::optional<std::string>& name);
  [[nodiscard]] bool expect_integer(std::int64_t& value);
  [[nodiscard]] bool parse_string_literal(std::string& value);
  // Whether one more level of nesting may open: the count of open levels
  // is within Parser::kMaxNestingDepth and the thread's stack has room.
  [[nodiscard]] bool check_nesting();
  // Record a failure.
  Failed fail(std::string message);
  Failed fail_wanted(Token wanted);            // "Expected Kind, got Some(Kind)"
  Failed fail_got(std::string_view expected);  // "Expected thing" or "Expected thing, got Kind"

  // Statement dispatch, DROP and ALTER TABLE (parse_statement.cpp).
  [[nodiscard]] bool parse_single_statement(Statement& out);
  [[nodiscard]] bool parse_create(Statement& out);
  [[nodiscard]] bool parse_drop(Statement& out);
  [[nodiscard]] bool parse_drop_table(Statement& out);
  [[nodiscard]] bool parse_drop_sequence(Statement& out);
  [[nodiscard]] bool parse_alter_table(Statement& out);
  [[nodiscard]] bool parse_if_exists(bool& if_exists);

  // Schema statements and data types (parse_schema.cpp).
  [[nodiscard]] bool parse_create_node_table(Statement& out);
  [[nodiscard]] bool parse_create_rel_table(Statement& out);
  [[nodiscard]] bool parse_create_index_body(Statement& out, bool unique);
  [[nodiscard]] bool parse_create_sequence(Statement& out);
  [[nodiscard]] bool parse_create_macro(Statement& out);
  [[nodiscard]] bool parse_create_type(Statement& out);
  [[nodiscard]] bool parse_column_definition(ColumnDefinition& column);
  [[nodiscard]] bool parse_data_type(LogicalType& type);
  [[nodiscard]] bool parse_signed_integer(std::optional<std::int64_t>& value);

  // Utility statements (parse_utility.cpp); EXPLAIN and PROFILE are part of
  // parse_statement.
  [[nodiscard]] bool parse_begin(Statement& out);
  [[nodiscard]] bool parse_copy(Statement& out);
  [[nodiscard]] bool parse_call(Statement& out);
  [[nodiscard]] bool parse_load(Statement& out);
  [[nodiscard]] bool parse_attach(Statement& out);
  [[nodiscard]] bool parse_database_name(Statement& out);  // DETACH and USE
  [[nodiscard]] bool parse_database_path(Statement& out);  // EXPORT and IMPORT

  // Query clauses (parse_query.cpp).
  [[nodiscard]] bool parse_query(QueryStatement& query);
  [[nodiscard]] bool parse_create_led_query(QueryStatement& query);
  [[nodiscard]] bool parse_match_clause(std::vector<MatchClause>& clauses);
  [[nodiscard]] bool parse_delete_clause(DeleteClause& clause);
  [[nodiscard]] bool parse_set_item(SetItem& item);
  [[nodiscard]] bool parse_return_clause(QueryStatement& query);
  [[nodiscard]] bool parse_with_clause(QueryStatement& query);
  [[nodiscard]] bool parse_unwind_clause(QueryStatement& query);
  [[nodiscard]] bool parse_order_by(QueryStatement& query);
  [[nodiscard]] bool parse_projection_items(std::vector<ProjectionItem>& items);
  [[nodiscard]] bool parse_foreach_clause(ForeachClause& clause);
  [[nodiscard]] bool parse_update_clause(std::vector<UpdateClause>& clauses, bool& found);
  [[nodiscard]] bool parse_merge_clause(MergeClause& merge);
  bool parse_sort_ascending();

  // Patterns and map literals (parse_pattern.cpp).
  [[nodiscard]] bool parse_pattern(Pattern& pattern);
  [[nodiscard]] bool parse_node_pattern(NodePattern& node);
  [[nodiscard]] bool parse_relationship_detail(RelPattern& rel);
  [[nodiscard]] bool expect_length_bound(std::optional<std::uint32_t>& bound);
  [[nodiscard]] bool parse_map_literal(MapLiteral& map);

  // Expressions (parse_expression.cpp).
  [[nodiscard]] bool parse_expression(Expression& out);
  [[nodiscard]] bool parse_operators(Precedence lowest, Expression& out);
  [[nodiscard]] bool parse_comparison_suffix(Expression& out);
  [[nodiscard]] bool parse_not_operand(Expression& out);
  [[nodiscard]] bool parse_unary_expression(Expression& out);
  [[nodiscard]] bool parse_postfix_expression(Expression& out);
  [[nodiscard]] bool parse_subscript(Expression& index);
  [[nodiscard]] bool parse_primary_expression(Expression& out);
  [[nodiscard]] bool parse_literal(Expression& out);
  [[nodiscard]] bool parse_parenthesized(Expression& out);
  [[nodiscard]] bool parse_list_literal(Expression& out);
  [[nodiscard]] bool parse_case_expression(Expression& out);
  [[nodiscard]] bool parse_function_call(Expression& out);
  [[nodiscard]] bool parse_expression_list(std::vector<Expression>& list);
  [[nodiscard]] bool parse_window(Expression& out);
  [[nodiscard]] bool parse_window_frame_bound(WindowFrameBound& bound);

  Lexer lexer_;  // framing the token after the current one
  Token current_ = kEndOfInput;
  std::string_view current_text_;
  // Nesting levels open at the current point of the parse: constructs and
  // the links of UNION and EXPLAIN chains, which the nesting bound counts.
  std::uint32_t depth_ = 0;
  // Of those, the constructs that recurse, and the most that were open at
  // once.
  std::uint32_t constructs_ = 0;
  std::uint32_t deepest_constructs_ = 0;
  std::optional<Error> error_;
};

// Opens nesting levels of a parse and closes them when it ends: one level
// at once (a construct that recurses), or levels added through deepen() (a
// loop that builds a chain, such as UNION or EXPLAIN).
class ParserState::NestingScope {
 public:
  enum class Opens : std::uint8_t { Construct, Chain };

  explicit NestingScope(ParserState& state, Opens opens = Opens::Construct)
      : state_(state), saved_depth_(state.depth_), saved_constructs_(state.constructs_) {
    if (opens == Opens::Construct) {
      ++state_.depth_;
      ++state_.constructs_;
    }
  }
  ~NestingScope() {
    state_.depth_ = saved_depth_;
    state_.constructs_ = saved_constructs_;
  }
  NestingScope(const NestingScope&) = delete;
  NestingScope& operator=(const NestingScope&) = delete;

  // One more link of a chain.
  void deepen() { ++state_.depth_; }

 private:
  ParserState& state_;
  std::uint32_t saved_depth_;
  std::uint32_t saved_constructs_;
};

}  // namespace zelvo

// Passes a failed parsing step up from the enclosing routine; the step has
// recorded the failure.
#define ZELVO_PARSE_TRY(step) \
  do {                        \
    if (!succeeded(step)) {   \
      return Failed{};        \
    }                         \
  } while (false)
