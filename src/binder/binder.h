#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "binder/bound_expression.h"
#include "binder/bound_query.h"
#include "binder/bound_schema.h"
#include "binder/bound_statement.h"
#include "binder/scope.h"
#include "catalog/catalog.h"
#include "catalog/property_def.h"
#include "common/result.h"
#include "parser/statement.h"
#include "parser/syntax_tree.h"

// The binder: parsed statements in, bound statements out. Binding resolves
// the first label of a node pattern and the first type of a relationship
// pattern to table ids, the columns of CREATE INDEX and ALTER TABLE to
// property ids, and checks every variable against the query's scope. It
// infers no types and only reads the catalog, one lookup at a time, so a
// statement that fails to bind leaves no trace. The first error ends
// binding and is returned unchanged.

namespace zelvo {

// ------------------------------------------------------------- Statements

// The bound form of any statement; every string, list and expression in the
// result is a fresh copy.
Result<BoundStatement> bind_statement(const std::shared_ptr<Catalog>& catalog, const Statement& statement);

// The columns of CREATE NODE TABLE and CREATE REL TABLE: name, type and
// flag copied; a default expression is not carried.
std::vector<BoundColumnDefinition> bind_column_definitions(const std::vector<ColumnDefinition>& columns);

// The positions of the named columns in `properties`, in order; the first
// name that is missing gives Error::ColumnNotFound with that name.
Result<std::vector<std::uint32_t>> resolve_property_ids(std::span<const PropertyDef> properties,
                                                        const std::vector<std::string>& names);

// ---------------------------------------------------------------- Queries

// Binds the MATCH, WHERE, CREATE, MERGE, RETURN, DELETE, SET, FOREACH, LIMIT
// and SKIP parts of a query, in that order, against one growing scope.
// OPTIONAL MATCH, WITH, UNWIND, REMOVE, ORDER BY, UNION and common table
// expressions are dropped unread.
Result<BoundQuery> bind_query(const Catalog& catalog, const QueryStatement& query);

// Pattern elements in order; every named node and relationship is appended
// to the scope as it is met.
Result<std::vector<BoundPatternElement>> bind_pattern(const Catalog& catalog,
                                                      const std::vector<PatternElement>& elements, Scope& scope);
Result<BoundNodePattern> bind_node_pattern(const Catalog& catalog, const NodePattern& node, Scope& scope);
Result<PropertyMap> bind_property_map(const Catalog& catalog, const MapLiteral& map, const Scope& scope);

Result<BoundMergeClause> bind_merge_clause(const Catalog& catalog, const MergeClause& clause, Scope& scope);
Result<BoundSetItem> bind_set_item(const Catalog& catalog, const SetItem& item, const Scope& scope);
// The list expression sees the outer scope; the body sees it with the loop
// variable appended, and nothing the body adds outlives the clause: the
// scope is left as it was, whether binding succeeds or fails.
Result<BoundForeachClause> bind_foreach_clause(const Catalog& catalog, const ForeachClause& clause, Scope& scope);

// ------------------------------------------------------------ Expressions

// Structural binding: literals, names and operators copied, every variable
// checked against the scope. Index, Case, comprehensions, Exists, string
// matches and quantifiers are refused wherever they occur.
Result<BoundExpression> bind_expression(const Catalog& catalog, const Expression& expression, const Scope& scope);
Result<std::vector<BoundExpression>> bind_expression_list(const Catalog& catalog,
                                                          const std::vector<Expression>& expressions,
                                                          const Scope& scope);
Result<BoundOrderItem> bind_order_item(const Catalog& catalog, const OrderItem& item, const Scope& scope);

}  // namespace zelvo
