#include <gtest/gtest.h>

#include "parse_helpers.h"

namespace zelvo {
namespace {

using parser_test::Case;
using parser_test::error_text;

// Every fixed message, each with one input that triggers it.
TEST(ParserErrors, Messages) {
  const Case cases[] = {
      // Statements.
      {"", "Unexpected end of input"},
      {" /* only */ // comments", "Unexpected end of input"},
      {"EXPLAIN", "Unexpected end of input"},
      {"DROP", "Expected TABLE, INDEX, or SEQUENCE after DROP"},
      {"DROP x", "Unexpected token after DROP: Identifier"},
      {"DROP #", "Unexpected token after DROP: Identifier"},
      {"DROP NODE x", "Expected Table, got Some(Identifier)"},
      {"DROP TABLE IF x", "Expected Exists, got Some(Identifier)"},
      {"CREATE", "Expected LParen, got None"},
      {"CREATE UNIQUE x", "Expected Index, got Some(Identifier)"},
      {"CREATE INDEX i t", "Expected On, got Some(Identifier)"},
      {"CREATE NODE TABLE t()", "Expected identifier, got RParen"},
      {"CREATE NODE TABLE", "Expected identifier"},
      {"CREATE NODE TABLE t(a", "Expected type"},
      {"CREATE NODE TABLE t(a integer)", "Expected type, got Identifier"},
      {"CREATE NODE TABLE t(type STRING)", "Expected identifier, got Type"},
      {"CREATE NODE TABLE t(a INT64[[]])", "Expected RBracket, got Some(LBracket)"},
      {"CREATE REL TABLE r(FROM a TO b, PRIMARY KEY(x))", "Expected identifier, got Primary"},
      {"ALTER TABLE t x", "Expected ADD, DROP, or RENAME after ALTER TABLE"},
      {"CREATE SEQUENCE s START x", "Expected integer literal"},
      {"CREATE SEQUENCE s START - x", "Expected integer after minus"},
      {"CREATE SEQUENCE s START 9223372036854775808", "Invalid integer"},
      {"CREATE SEQUENCE s START -9223372036854775808", "Invalid integer"},
      {"CREATE MACRO f(x) AS x + 1", "Expected LParen, got Some(Identifier)"},
      {"CREATE TYPE t AS ENUM ()", "Expected string, got RParen"},
      {"CREATE TYPE t AS ENUM (", "Expected string"},
      {"COPY t 'x'", "Expected FROM or TO after COPY table"},
      {"CALL f(1, 2", "Expected RParen, got None"},
      {"USE mydb", "Expected Database, got Some(Identifier)"},
      {"DETACH DELETE n", "Expected Database, got Some(Delete)"},
      {"ATTACH 'p'", "Expected Database, got Some(SingleQuotedString)"},
      {"BEGIN READ", "Expected Only, got None"},
      {"LOAD 'x'", "Expected From, got Some(SingleQuotedString)"},
      // Clauses.
      {"OPTIONAL RETURN 1", "Expected Match, got Some(Return)"},
      {"UNWIND [1] x", "Expected As, got Some(Identifier)"},
      {"ORDER x", "Expected By, got Some(Identifier)"},
      {"SET n:Label", "Expected Eq, got Some(Colon)"},
      {"SET 1 = 2", "Expected identifier or ( in SET target"},
      {"SET (a 1", "Expected RParen, got Some(Integer)"},
      {"SET a[1 2", "Expected RBracket, got Some(Integer)"},
      {"FOREACH x", "Expected LParen, got Some(Identifier)"},
      {"FOREACH (x l", "Expected In, got Some(Identifier)"},
      {"FOREACH (x IN l SET", "Expected Pipe, got Some(Set)"},
      {"FOREACH (x IN l | )", "FOREACH requires at least one update clause"},
      {"FOREACH (x IN l | SET x.a = 1", "Expected RParen, got None"},
      {"FOREACH (x IN l | MERGE (a) ON MATCH x)", "Expected Set, got Some(Identifier)"},
      {"FOREACH (x IN l | REMOVE n:Label)", "Expected RParen, got Some(Colon)"},
      {"FOREACH (x IN l | CALL f)", "Expected RParen, got Some(Call)"},
      // A comma after a CREATE pattern continues the pattern.
      {"FOREACH (x IN l | CREATE (a), SET a.b = 1)", "Expected LParen, got Some(Set)"},
      {"WITH a AS 1", "Expected identifier, got Integer"},
      {"RETURN 1 AS", "Expected identifier"},
      // Patterns.
      {"MATCH a", "Expected LParen, got Some(Identifier)"},
      {"MATCH (a)--(b)", "Expected Minus, got Some(DoubleMinus)"},
      {"MATCH (a)-->(b)", "Expected Minus, got Some(DoubleMinus)"},
      {"MATCH (a)<-[r]->(b)", "Expected LParen, got Some(Arrow)"},
      {"MATCH (`a`)", "Expected RParen, got Some(QuotedIdentifier)"},
      {"MATCH (a)-[:A|:B]-(b)", "Expected identifier, got Colon"},
      {"MATCH (a)-[r(b)", "Expected RBracket, got Some(LParen)"},
      {"MATCH (a)-[*4294967296]-(b)", "Invalid integer"},
      {"MATCH (a)-[*1..99999999999999999999]-(b)", "Invalid integer"},
      {"MATCH ({'k': 1})", "Expected identifier, got SingleQuotedString"},
      // Expressions.
      {"RETURN", "Unexpected end of input"},
      {"RETURN `a`", "Unexpected token: QuotedIdentifier"},
      {"RETURN --x", "Unexpected token: DoubleMinus"},
      {"RETURN EXISTS(a)", "Unexpected token: Exists"},
      {"RETURN a + NOT b", "Unexpected token: Not"},
      {"RETURN x IS 1", "Expected Null, got Some(Integer)"},
      {"RETURN -9223372036854775808", "Invalid integer"},
      {"RETURN f(*, x)", "Expected RParen, got Some(Comma)"},
      {"RETURN $1", "Expected identifier, got Integer"},
      {"RETURN $", "Expected identifier"},
      {"RETURN a.", "Expected identifier"},
      {"RETURN [1, 2,]", "Unexpected token: RBracket"},
      {"RETURN [1 2]", "Expected RBracket, got Some(Integer)"},
      {"RETURN (1", "Expected RParen, got None"},
      {"RETURN a[1", "Expected RBracket, got None"},
      {"RETURN {a: 1 b: 2}", "Expected RBrace, got Some(Identifier)"},
      {"RETURN {a 1}", "Expected Colon, got Some(Integer)"},
      {"RETURN CASE WHEN a 1 END", "Expected Then, got Some(Integer)"},
      {"RETURN CASE WHEN a THEN 1", "Expected End, got None"},
      {"RETURN sum(x) OVER a", "Expected LParen, got Some(Identifier)"},
      {"RETURN sum(x) OVER (PARTITION a)", "Expected By, got Some(Identifier)"},
      {"RETURN sum(x) OVER (ORDER a)", "Expected By, got Some(Identifier)"},
      {"RETURN sum(x) OVER (ROWS BETWEEN 1 PRECEDING AND CURRENT ROW)", "Invalid window frame bound"},
      {"RETURN sum(x) OVER (ROWS 1 ROW)", "Invalid window frame bound"},
      {"RETURN sum(x) OVER (ROWS UNBOUNDED ROW)", "Invalid window frame bound"},
      {"RETURN sum(x) OVER (ROWS CURRENT x)", "Expected Row, got Some(Identifier)"},
      {"RETURN sum(x) OVER (ROWS 18446744073709551616 PRECEDING)", "Invalid frame bound"},
      {"RETURN sum(x) OVER (ROWS 1 PRECEDING x)", "Expected RParen, got Some(Identifier)"},
  };
  for (const Case& c : cases) EXPECT_EQ(error_text(c.input), c.expected) << "input: " << c.input;
}

// Tokens after a complete statement are ignored.
TEST(ParserErrors, TrailingTokensAreIgnored) {
  for (const char* text : {"COMMIT anything at all", "RETURN 1 )", "MATCH (a) RETURN a ; garbage", "x y z",
                           "CREATE SEQUENCE s CYCLE ("}) {
    EXPECT_EQ(error_text(text), "parsed") << text;
  }
}

}  // namespace
}  // namespace zelvo
