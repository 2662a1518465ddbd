#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "binder/bound_expression.h"
#include "binder/bound_query.h"
#include "binder/bound_statement.h"
#include "binder/scope.h"
#include "catalog/catalog.h"
#include "common/result.h"
#include "parser/statement.h"
#include "parser/syntax_tree.h"

// The binder's working forms. Each fills the place where its result stays
// (a default-constructed node, list or clause of the bound tree), so that
// no bound node is moved once built; the functions of binder.h wrap them.
// On error the place holds a partial result, which the caller drops.

namespace zelvo {

// Where an expression is bound: as a whole expression of a clause, or as a
// part nested in another expression. Binding recurses once per level of
// nesting after a check of the thread's stack; a failed check is nested too
// deeply inside an expression, and the statement too large for the stack
// left at its outermost level.
enum class Nesting : bool { Outermost, Nested };

Status bind_statement_into(const std::shared_ptr<Catalog>& catalog, const Statement& statement, BoundStatement& out);
Status bind_query_into(const Catalog& catalog, const QueryStatement& query, BoundQuery& out);

Status bind_pattern_into(const Catalog& catalog, const std::vector<PatternElement>& elements, Scope& scope,
                         std::vector<BoundPatternElement>& out);
Status bind_node_pattern_into(const Catalog& catalog, const NodePattern& node, Scope& scope, BoundNodePattern& out);
Status bind_property_map_into(const Catalog& catalog, const MapLiteral& map, const Scope& scope, PropertyMap& out,
                              Nesting nesting = Nesting::Outermost);

Status bind_merge_clause_into(const Catalog& catalog, const MergeClause& clause, Scope& scope, BoundMergeClause& out);
Status bind_set_item_into(const Catalog& catalog, const SetItem& item, const Scope& scope, BoundSetItem& out);
Status bind_foreach_clause_into(const Catalog& catalog, const ForeachClause& clause, Scope& scope,
                                BoundForeachClause& out);

Status bind_expression_into(const Catalog& catalog, const Expression& expression, const Scope& scope,
                            BoundExpression& out, Nesting nesting = Nesting::Outermost);
Status bind_expression_list_into(const Catalog& catalog, const std::vector<Expression>& expressions, const Scope& scope,
                                 std::vector<BoundExpression>& out, Nesting nesting = Nesting::Outermost);

// A fresh T filled by `fill(T&)`, or the error it returned. The result is
// built where the caller receives it.
template <typename T, typename Fill>
Result<T> bind_in_place(Fill&& fill) {
  Result<T> result = T{};
  Status status = fill(*result);
  if (!status.ok()) result = std::move(status).error();
  return result;
}

}  // namespace zelvo
