// The clause loop of a query, the CREATE-led query form and the clause
// parsers they share.

#include <algorithm>

#include "parser/parser_state.h"
#include "parser/tree_building.h"

namespace zelvo {

// A token that starts no clause ends the query without being consumed.
bool ParserState::parse_query(QueryStatement& first) {
  // The query after UNION is built in this loop: one nesting level per UNION.
  NestingScope nesting(*this, NestingScope::Opens::Chain);
  QueryStatement* query = &first;
  for (;;) {
    switch (current_) {
      case Token::Match:
        advance();
        ZELVO_PARSE_TRY(parse_match_clause(query->match_clauses));
        break;
      case Token::Optional:
        advance();
        ZELVO_PARSE_TRY(expect_token(Token::Match));
        ZELVO_PARSE_TRY(parse_match_clause(query->optional_match_clauses));
        break;
      case Token::Where:
        advance();
        ZELVO_PARSE_TRY(parse_expression(query->where_clause.emplace()));
        break;
      case Token::Return:
        advance();
        ZELVO_PARSE_TRY(parse_return_clause(*query));
        break;
      case Token::Create:
        advance();
        ZELVO_PARSE_TRY(parse_pattern(query->create_clauses.emplace_back().pattern));
        break;
      case Token::Delete:
      case Token::Detach: ZELVO_PARSE_TRY(parse_delete_clause(query->delete_clause.emplace())); break;
      case Token::Set:
        advance();
        ZELVO_PARSE_TRY(parse_set_item(query->set_clauses.emplace_back()));
        break;
      case Token::With:
        advance();
        ZELVO_PARSE_TRY(parse_with_clause(*query));
        break;
      case Token::Unwind:
        advance();
        ZELVO_PARSE_TRY(parse_unwind_clause(*query));
        break;
      case Token::Foreach:
        advance();
        ZELVO_PARSE_TRY(parse_foreach_clause(query->foreach_clauses.emplace_back()));
        break;
      case Token::Order:
        advance();
        ZELVO_PARSE_TRY(expect_token(Token::By));
        ZELVO_PARSE_TRY(parse_order_by(*query));
        break;
      case Token::Skip:
        advance();
        ZELVO_PARSE_TRY(parse_expression(query->skip.emplace()));
        break;
      case Token::Limit:
        advance();
        ZELVO_PARSE_TRY(parse_expression(query->limit.emplace()));
        break;
      case Token::Union:
        // UNION ALL gives the same tree as UNION.
        advance();
        eat(Token::All);
        nesting.deepen();
        ZELVO_PARSE_TRY(check_nesting());
        query->union_query = std::make_unique<QueryStatement>();
        query = query->union_query.get();
        break;
      default: return true;
    }
  }
}

// The token after CREATE current. Only RETURN and SET may follow the pattern.
bool ParserState::parse_create_led_query(QueryStatement& query) {
  ZELVO_PARSE_TRY(parse_pattern(query.create_clauses.emplace_back().pattern));
  for (;;) {
    if (eat(Token::Return)) {
      ZELVO_PARSE_TRY(parse_return_clause(query));
    } else if (eat(Token::Set)) {
      ZELVO_PARSE_TRY(parse_set_item(query.set_clauses.emplace_back()));
    } else {
      return true;
    }
  }
}

// MATCH consumed; a WHERE right after the pattern belongs to the clause.
bool ParserState::parse_match_clause(std::vector<MatchClause>& clauses) {
  MatchClause& clause = clauses.emplace_back();
  ZELVO_PARSE_TRY(parse_pattern(clause.pattern));
  return !eat(Token::Where) || parse_expression(clause.where_clause.emplace());
}

// DETACH or DELETE current.
bool ParserState::parse_delete_clause(DeleteClause& clause) {
  clause.detach = eat(Token::Detach);
  ZELVO_PARSE_TRY(expect_token(Token::Delete));
  ZELVO_PARSE_TRY(parse_expression_list(clause.expressions));
  return true;
}

// SET consumed: one target (a name or a parenthesised expression, then
// property names, then subscripts), "=" and the value.
bool ParserState::parse_set_item(SetItem& item) {
  auto& assignment = item.node.emplace<SetItem::Property>();
  Expression& target = assignment.target;
  if (at(Token::Identifier)) {
    ZELVO_PARSE_TRY(expect_identifier(target.node.emplace<Expression::Variable>().name));
  } else if (eat(Token::LParen)) {
    ZELVO_PARSE_TRY(parse_expression(target));
    ZELVO_PARSE_TRY(expect_token(Token::RParen));
  } else {
    return fail("Expected identifier or ( in SET target");
  }
  while (eat(Token::Dot)) ZELVO_PARSE_TRY(expect_identifier(tree_building::wrap_property(target)));
  while (eat(Token::LBracket)) ZELVO_PARSE_TRY(parse_subscript(tree_building::wrap_index(target)));
  ZELVO_PARSE_TRY(expect_token(Token::Eq));
  ZELVO_PARSE_TRY(parse_expression(assignment.value));
  return true;
}

// RETURN consumed; a later RETURN replaces an earlier one.
bool ParserState::parse_return_clause(QueryStatement& query) {
  ReturnClause& clause = query.return_clause.emplace();
  clause.distinct = eat(Token::Distinct);
  return parse_projection_items(clause.items);
}

// WITH consumed; a WHERE right after the items belongs to the WITH.
bool ParserState::parse_with_clause(QueryStatement& query) {
  WithClause& clause = query.with_clause.emplace();
  clause.distinct = eat(Token::Distinct);
  ZELVO_PARSE_TRY(parse_projection_items(clause.items));
  return !eat(Token::Where) || parse_expression(clause.where_clause.emplace());
}

// UNWIND consumed.
bool ParserState::parse_unwind_clause(QueryStatement& query) {
  UnwindClause& clause = query.unwind_clause.emplace();
  return parse_expression(clause.expression) && expect_token(Token::As) && expect_identifier(clause.alias);
}

// ORDER BY consumed.
bool ParserState::parse_order_by(QueryStatement& query) {
  OrderByClause& clause = query.order_by.emplace();
  do {
    OrderItem& item = clause.items.emplace_back();
    ZELVO_PARSE_TRY(parse_expression(item.expression));
    item.ascending = parse_sort_ascending();
  } while (eat(Token::Comma));
  return true;
}

// ASC (optionally followed by ASCENDING), ASCENDING, DESC, DESCENDING or
// nothing, which means ascending.
bool ParserState::parse_sort_ascending() {
  if (eat(Token::Asc)) {
    eat(Token::Ascending);
    return true;
  }
  if (eat(Token::Desc) || eat(Token::Descending)) return false;
  eat(Token::Ascending);
  return true;
}

// Items of RETURN or WITH. A "*" may stand anywhere in the list and takes no
// alias.
bool ParserState::parse_projection_items(std::vector<ProjectionItem>& items) {
  do {
    ProjectionItem& item = items.emplace_back();
    if (eat(Token::Star)) {
      item.expression.node.emplace<Expression::Variable>(Expression::Variable{"*"});
      item.star = true;
      continue;
    }
    ZELVO_PARSE_TRY(parse_expression(item.expression));
    if (eat(Token::As)) ZELVO_PARSE_TRY(expect_identifier(item.alias));
  } while (eat(Token::Comma));
  return true;
}

// FOREACH consumed: ( variable IN list | update clauses ). Commas between
// the update clauses are optional.
bool ParserState::parse_foreach_clause(ForeachClause& clause) {
  const NestingScope nesting(*this);
  ZELVO_PARSE_TRY(check_nesting());
  ZELVO_PARSE_TRY(expect_token(Token::LParen));
  ZELVO_PARSE_TRY(expect_identifier(clause.variable));
  ZELVO_PARSE_TRY(expect_token(Token::In));
  ZELVO_PARSE_TRY(parse_expression(clause.expression));
  ZELVO_PARSE_TRY(expect_token(Token::Pipe));
  for (;;) {
    if (eat(Token::Foreach)) {
      ZELVO_PARSE_TRY(parse_foreach_clause(clause.update_clauses.emplace_back().node.emplace<ForeachClause>()));
    } else {
      bool found = false;
      ZELVO_PARSE_TRY(parse_update_clause(clause.update_clauses, found));
      if (!found) break;
    }
    eat(Token::Comma);
    if (at_end()) return fail_wanted(Token::RParen);
  }
  ZELVO_PARSE_TRY(expect_token(Token::RParen));
  return !clause.update_clauses.empty() || fail("FOREACH requires at least one update clause");
}

// One update clause of a FOREACH body other than a nested FOREACH, appended
// to `clauses`; `found` is false when the current token starts none.
bool ParserState::parse_update_clause(std::vector<UpdateClause>& clauses, bool& found) {
  found = true;
  switch (current_) {
    case Token::Create: advance(); return parse_pattern(clauses.emplace_back().node.emplace<CreateClause>().pattern);
    case Token::Delete:
    case Token::Detach: return parse_delete_clause(clauses.emplace_back().node.emplace<DeleteClause>());
    case Token::Set: advance(); return parse_set_item(clauses.emplace_back().node.emplace<SetItem>());
    case Token::Remove: {
      advance();
      auto& removed = clauses.emplace_back().node.emplace<RemoveItem>().node.emplace<RemoveItem::Property>();
      ZELVO_PARSE_TRY(parse_expression(removed.expression));
      return true;
    }
    case Token::Merge: advance(); return parse_merge_clause(clauses.emplace_back().node.emplace<MergeClause>());
    default: found = false; return true;
  }
}

// MERGE consumed, inside FOREACH: the pattern, then ON MATCH SET item and ON
// CREATE SET item in any number; ON before anything else ends the MERGE.
bool ParserState::parse_merge_clause(MergeClause& merge) {
  ZELVO_PARSE_TRY(parse_pattern(merge.pattern));
  while (eat(Token::On)) {
    std::vector<SetItem>* items = nullptr;
    if (eat(Token::Match)) {
      items = &merge.on_match;
    } else if (eat(Token::Create)) {
      items = &merge.on_create;
    } else {
      break;
    }
    ZELVO_PARSE_TRY(expect_token(Token::Set));
    ZELVO_PARSE_TRY(parse_set_item(items->emplace_back()));
  }
  return true;
}

}  // namespace zelvo
