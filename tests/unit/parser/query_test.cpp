#include <gtest/gtest.h>

#include "parse_helpers.h"

namespace zelvo {
namespace {

using parser_test::Case;
using parser_test::query_slots;

TEST(Queries, ClauseSlots) {
  const Case cases[] = {
      {"x", ""},
      {"MATCH (a) RETURN a ; MATCH (b) RETURN b",
       "match: [MatchClause { pattern: Pattern { elements: [Node(NodePattern { variable: Some(\"a\"), labels: [], "
       "properties: None })] }, where_clause: None }]; return: Some(ReturnClause { items: [ProjectionItem { "
       "expression: Variable(\"a\"), alias: None, star: false }], distinct: false })"},
      {"MATCH (a) SET a.x = 1, a.y = 2",
       "match: [MatchClause { pattern: Pattern { elements: [Node(NodePattern { variable: Some(\"a\"), labels: [], "
       "properties: None })] }, where_clause: None }]; set: [Property { target: Property { base: Variable(\"a\"), "
       "property: \"x\" }, value: Literal(Int64(1)) }]"},
      {"SET n = 1 SET (n).a[0] = 2",
       "set: [Property { target: Variable(\"n\"), value: Literal(Int64(1)) }, Property { target: Index { base: "
       "Property { base: Variable(\"n\"), property: \"a\" }, index: Literal(Int64(0)) }, value: Literal(Int64(2)) }]"},
      {"RETURN 1 RETURN DISTINCT 2",
       "return: Some(ReturnClause { items: [ProjectionItem { expression: Literal(Int64(2)), alias: None, star: false "
       "}], distinct: true })"},
      {"MATCH (a) WHERE a.x MATCH (b) REMOVE b.x",
       "match: [MatchClause { pattern: Pattern { elements: [Node(NodePattern { variable: Some(\"a\"), labels: [], "
       "properties: None })] }, where_clause: Some(Property { base: Variable(\"a\"), property: \"x\" }) }, "
       "MatchClause { pattern: Pattern { elements: [Node(NodePattern { variable: Some(\"b\"), labels: [], "
       "properties: None })] }, where_clause: None }]"},
      {"OPTIONAL MATCH () WITH DISTINCT a WHERE b",
       "optional_match: [MatchClause { pattern: Pattern { elements: [Node(NodePattern { variable: None, labels: [], "
       "properties: None })] }, where_clause: None }]; with: Some(WithClause { items: [ProjectionItem { expression: "
       "Variable(\"a\"), alias: None, star: false }], distinct: true, where_clause: Some(Variable(\"b\")) })"},
      {"UNWIND [1] AS x WHERE x",
       "unwind: Some(UnwindClause { expression: List(ListLiteral { elements: [Literal(Int64(1))] }), alias: \"x\" "
       "}); where: Some(Variable(\"x\"))"},
      {"MATCH () DETACH DELETE a, b DELETE c",
       "match: [MatchClause { pattern: Pattern { elements: [Node(NodePattern { variable: None, labels: [], "
       "properties: None })] }, where_clause: None }]; delete: Some(DeleteClause { expressions: [Variable(\"c\")], "
       "detach: false })"},
      {"RETURN *, a AS b ORDER BY x ASC ASCENDING, y DESC SKIP 1 LIMIT 2",
       "return: Some(ReturnClause { items: [ProjectionItem { expression: Variable(\"*\"), alias: None, star: true }, "
       "ProjectionItem { expression: Variable(\"a\"), alias: Some(\"b\"), star: false }], distinct: false }); "
       "order_by: Some(OrderByClause { items: [OrderItem { expression: Variable(\"x\"), ascending: true }, OrderItem "
       "{ expression: Variable(\"y\"), ascending: false }] }); skip: Some(Literal(Int64(1))); limit: "
       "Some(Literal(Int64(2)))"},
      {"RETURN * AS x",
       "return: Some(ReturnClause { items: [ProjectionItem { expression: Variable(\"*\"), alias: None, star: true }], "
       "distinct: false })"},
      {"RETURN 1 UNION ALL RETURN 2 UNION RETURN 3",
       "return: Some(ReturnClause { items: [ProjectionItem { expression: Literal(Int64(1)), alias: None, star: false "
       "}], distinct: false }); union: QueryStatement { ctes: [], match_clauses: [], optional_match_clauses: [], "
       "create_clauses: [], merge_clause: None, delete_clause: None, set_clauses: [], remove_clauses: [], "
       "unwind_clause: None, foreach_clauses: [], where_clause: None, with_clause: None, return_clause: "
       "Some(ReturnClause { items: [ProjectionItem { expression: Literal(Int64(2)), alias: None, star: false }], "
       "distinct: false }), order_by: None, skip: None, limit: None, union: Some(QueryStatement { ctes: [], "
       "match_clauses: [], optional_match_clauses: [], create_clauses: [], merge_clause: None, delete_clause: None, "
       "set_clauses: [], remove_clauses: [], unwind_clause: None, foreach_clauses: [], where_clause: None, "
       "with_clause: None, return_clause: Some(ReturnClause { items: [ProjectionItem { expression: "
       "Literal(Int64(3)), alias: None, star: false }], distinct: false }), order_by: None, skip: None, limit: "
       "None, union: None }) }"},
      // A statement led by CREATE takes only RETURN and SET after the pattern.
      {"CREATE (a) SET a.x = 1 WITH a MATCH (b) RETURN b",
       "create: [CreateClause { pattern: Pattern { elements: [Node(NodePattern { variable: Some(\"a\"), labels: [], "
       "properties: None })] } }]; set: [Property { target: Property { base: Variable(\"a\"), property: \"x\" }, "
       "value: Literal(Int64(1)) }]"},
      {"MATCH (a) CREATE (b) WITH a",
       "match: [MatchClause { pattern: Pattern { elements: [Node(NodePattern { variable: Some(\"a\"), labels: [], "
       "properties: None })] }, where_clause: None }]; create: [CreateClause { pattern: Pattern { elements: "
       "[Node(NodePattern { variable: Some(\"b\"), labels: [], properties: None })] } }]; with: Some(WithClause { "
       "items: [ProjectionItem { expression: Variable(\"a\"), alias: None, star: false }], distinct: false, "
       "where_clause: None })"},
      {"FOREACH (x IN l | SET a.b = 1, CREATE (a) REMOVE n.x DETACH DELETE n MERGE (m) ON MATCH SET m.a = 1 ON "
       "CREATE SET m.b = 2 ON FOREACH (y IN x | DELETE y)) RETURN 1",
       "foreach: [ForeachClause { variable: \"x\", expression: Variable(\"l\"), update_clauses: [Set(Property { "
       "target: Property { base: Variable(\"a\"), property: \"b\" }, value: Literal(Int64(1)) }), "
       "Create(CreateClause { pattern: Pattern { elements: [Node(NodePattern { variable: Some(\"a\"), labels: [], "
       "properties: None })] } }), "
       "Remove(Property(Property { base: Variable(\"n\"), property: \"x\" })), Delete(DeleteClause { expressions: "
       "[Variable(\"n\")], detach: true }), Merge(MergeClause { pattern: Pattern { elements: [Node(NodePattern { "
       "variable: Some(\"m\"), labels: [], properties: None })] }, on_create: [Property { target: Property { base: "
       "Variable(\"m\"), property: \"b\" }, value: Literal(Int64(2)) }], on_match: [Property { target: Property { "
       "base: Variable(\"m\"), property: \"a\" }, value: Literal(Int64(1)) }] }), Foreach(ForeachClause { "
       "variable: \"y\", expression: Variable(\"x\"), update_clauses: [Delete(DeleteClause { expressions: "
       "[Variable(\"y\")], detach: false })] })] }]; return: Some(ReturnClause { items: [ProjectionItem { "
       "expression: Literal(Int64(1)), alias: None, star: false }], distinct: false })"},
  };
  for (const Case& c : cases) EXPECT_EQ(query_slots(c.input), c.expected) << c.input;
}

// The first relationship of `MATCH <pattern>`, or the shape of the pattern
// when it has none.
std::string first_step(std::string_view pattern) {
  const Result<Statement> result = Parser::parse("MATCH " + std::string(pattern));
  if (!result.ok()) return result.error().message();
  const Pattern& parsed = std::get<Statement::Query>(result->node).query.match_clauses.at(0).pattern;
  const auto* chain = std::get_if<PatternChain>(&parsed.elements.at(0).node);
  if (chain == nullptr) return debug_text(parsed);
  return debug_text(chain->relationships.at(0).relationship);
}

TEST(Queries, Patterns) {
  const Case cases[] = {
      {"(a)-[r:KNOWS]->(b)",
       "RelPattern { variable: Some(\"r\"), rel_types: [\"KNOWS\"], properties: None, direction: Outgoing, length: "
       "None }"},
      {"(a)<-[r]-(b)",
       "RelPattern { variable: Some(\"r\"), rel_types: [], properties: None, direction: Incoming, length: None }"},
      {"(a)-[]-(b)", "RelPattern { variable: None, rel_types: [], properties: None, direction: Both, length: None }"},
      {"(a)<--(b)", "RelPattern { variable: None, rel_types: [], properties: None, direction: Incoming, length: None }"},
      {"(a)- -(b)", "RelPattern { variable: None, rel_types: [], properties: None, direction: Both, length: None }"},
      {"(a)-(b)", "RelPattern { variable: None, rel_types: [], properties: None, direction: Both, length: None }"},
      {"(a)<-(b)", "RelPattern { variable: None, rel_types: [], properties: None, direction: Incoming, length: None }"},
      {"(a)-[r](b)",
       "RelPattern { variable: Some(\"r\"), rel_types: [], properties: None, direction: Both, length: None }"},
      {"(a)-[:A|B|`C`* {w: 1}]->(b)",
       "RelPattern { variable: None, rel_types: [\"A\", \"B\", \"C\"], properties: Some(MapLiteral { entries: "
       "[(\"w\", Literal(Int64(1)))] }), direction: Outgoing, length: Some(RelLength { min: None, max: None }) }"},
      {"(a)-[*2]-(b)", "RelPattern { variable: None, rel_types: [], properties: None, direction: Both, length: "
                       "Some(RelLength { min: Some(2), max: Some(2) }) }"},
      {"(a)-[*2..]-(b)", "RelPattern { variable: None, rel_types: [], properties: None, direction: Both, length: "
                         "Some(RelLength { min: Some(2), max: None }) }"},
      {"(a)-[*..4294967295]-(b)", "RelPattern { variable: None, rel_types: [], properties: None, direction: Both, "
                                  "length: Some(RelLength { min: None, max: Some(4294967295) }) }"},
      {"(a)-[*..]-(b)", "RelPattern { variable: None, rel_types: [], properties: None, direction: Both, length: "
                        "Some(RelLength { min: None, max: None }) }"},
      {"(a:A:`B c` {x: 1, x: 2}), ()",
       "Pattern { elements: [Node(NodePattern { variable: Some(\"a\"), labels: [\"A\", \"B c\"], properties: "
       "Some(MapLiteral { entries: [(\"x\", Literal(Int64(1))), (\"x\", Literal(Int64(2)))] }) }), "
       "Node(NodePattern { variable: None, labels: [], properties: None })] }"},
      // "->" cannot open a relationship: the pattern ends after the node.
      {"(a)->(b)", "Pattern { elements: [Node(NodePattern { variable: Some(\"a\"), labels: [], properties: None })] }"},
  };
  for (const Case& c : cases) EXPECT_EQ(first_step(c.input), c.expected) << c.input;
}

}  // namespace
}  // namespace zelvo
