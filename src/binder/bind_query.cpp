#include "binder/bind_in_place.h"
#include "binder/binder.h"
#include "common/stack_guard.h"

namespace zelvo {

namespace {

// Left absent when the expression is.
Status bind_optional_expression_into(const Catalog& catalog, const std::optional<Expression>& expression,
                                     const Scope& scope, std::optional<BoundExpression>& out) {
  if (!expression.has_value()) return {};
  return bind_expression_into(catalog, *expression, scope, out.emplace());
}

Status bind_delete_clause_into(const Catalog& catalog, const DeleteClause& clause, const Scope& scope,
                               BoundDeleteClause& out) {
  out.detach = clause.detach;
  return bind_expression_list_into(catalog, clause.expressions, scope, out.expressions);
}

Status bind_set_items_into(const Catalog& catalog, const std::vector<SetItem>& items, const Scope& scope,
                           std::vector<BoundSetItem>& out) {
  out.resize(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) ZELVO_TRY(bind_set_item_into(catalog, items[i], scope, out[i]));
  return {};
}

// A "*" item expands, at its position, into one item per scope entry in
// scope order, each a variable aliased by its own name.
Status bind_return_clause_into(const Catalog& catalog, const ReturnClause& clause, const Scope& scope,
                               BoundReturnClause& out) {
  out.distinct = clause.distinct;
  out.items.reserve(clause.items.size());
  for (const ProjectionItem& item : clause.items) {
    if (item.star) {
      for (const ScopeEntry& entry : scope.entries()) {
        out.items.push_back(
            BoundProjectionItem{BoundExpression::variable(std::string(entry.name)), std::string(entry.name)});
      }
      continue;
    }
    BoundProjectionItem& bound = out.items.emplace_back();
    ZELVO_TRY(bind_expression_into(catalog, item.expression, scope, bound.expression));
    bound.alias = item.alias;
  }
  return {};
}

Status bind_update_clause_into(const Catalog& catalog, const UpdateClause& clause, Scope& scope,
                               BoundUpdateClause& out) {
  return std::visit(
      [&](const auto& c) -> Status {
        using T = std::decay_t<decltype(c)>;
        if constexpr (std::is_same_v<T, SetItem>) {
          return bind_set_item_into(catalog, c, scope, out.clause.emplace<BoundSetItem>());
        } else if constexpr (std::is_same_v<T, CreateClause>) {
          return bind_pattern_into(catalog, c.pattern.elements, scope,
                                   out.clause.emplace<BoundCreateClause>().pattern.elements);
        } else if constexpr (std::is_same_v<T, MergeClause>) {
          return bind_merge_clause_into(catalog, c, scope, out.clause.emplace<BoundMergeClause>());
        } else if constexpr (std::is_same_v<T, DeleteClause>) {
          return bind_delete_clause_into(catalog, c, scope, out.clause.emplace<BoundDeleteClause>());
        } else if constexpr (std::is_same_v<T, RemoveItem>) {
          return Error::not_implemented("REMOVE in FOREACH");
        } else {
          // A FOREACH in a FOREACH body nests.
          if (!stack_has_room()) return Error::binder(std::string(kNestedTooDeeply));
          return bind_foreach_clause_into(catalog, c, scope, out.clause.emplace<BoundForeachClause>());
        }
      },
      clause.node);
}

}  // namespace

Status bind_query_into(const Catalog& catalog, const QueryStatement& query, BoundQuery& out) {
  Scope scope;

  out.match_clauses.resize(query.match_clauses.size());
  for (std::size_t i = 0; i < query.match_clauses.size(); ++i) {
    const MatchClause& clause = query.match_clauses[i];
    BoundMatchClause& bound = out.match_clauses[i];
    ZELVO_TRY(bind_pattern_into(catalog, clause.pattern.elements, scope, bound.pattern));
    ZELVO_TRY(bind_optional_expression_into(catalog, clause.where_clause, scope, bound.where_clause));
  }

  ZELVO_TRY(bind_optional_expression_into(catalog, query.where_clause, scope, out.where_clause));

  out.create_clauses.resize(query.create_clauses.size());
  for (std::size_t i = 0; i < query.create_clauses.size(); ++i) {
    ZELVO_TRY(bind_pattern_into(catalog, query.create_clauses[i].pattern.elements, scope,
                                out.create_clauses[i].pattern.elements));
  }

  if (query.merge_clause.has_value()) {
    ZELVO_TRY(bind_merge_clause_into(catalog, *query.merge_clause, scope, out.merge_clause.emplace()));
  }
  if (query.return_clause.has_value()) {
    ZELVO_TRY(bind_return_clause_into(catalog, *query.return_clause, scope, out.return_clause.emplace()));
  }
  if (query.delete_clause.has_value()) {
    ZELVO_TRY(bind_delete_clause_into(catalog, *query.delete_clause, scope, out.delete_clause.emplace()));
  }

  ZELVO_TRY(bind_set_items_into(catalog, query.set_clauses, scope, out.set_items));

  out.foreach_clauses.resize(query.foreach_clauses.size());
  for (std::size_t i = 0; i < query.foreach_clauses.size(); ++i) {
    ZELVO_TRY(bind_foreach_clause_into(catalog, query.foreach_clauses[i], scope, out.foreach_clauses[i]));
  }

  ZELVO_TRY(bind_optional_expression_into(catalog, query.limit, scope, out.limit));
  return bind_optional_expression_into(catalog, query.skip, scope, out.skip);
}

Status bind_merge_clause_into(const Catalog& catalog, const MergeClause& clause, Scope& scope, BoundMergeClause& out) {
  ZELVO_TRY(bind_pattern_into(catalog, clause.pattern.elements, scope, out.pattern.elements));
  ZELVO_TRY(bind_set_items_into(catalog, clause.on_create, scope, out.on_create));
  return bind_set_items_into(catalog, clause.on_match, scope, out.on_match);
}

Status bind_set_item_into(const Catalog& catalog, const SetItem& item, const Scope& scope, BoundSetItem& out) {
  if (const auto* property = std::get_if<SetItem::Property>(&item.node)) {
    auto& bound = out.item.emplace<BoundSetItem::Property>();
    ZELVO_TRY(bind_expression_into(catalog, property->target, scope, bound.target));
    return bind_expression_into(catalog, property->value, scope, bound.value);
  }
  if (const auto* labels = std::get_if<SetItem::Labels>(&item.node)) {
    // The variable is carried as written, not looked up.
    out.item.emplace<BoundSetItem::Labels>(BoundSetItem::Labels{labels->variable, labels->labels});
    return {};
  }
  return Error::not_implemented("SET properties = {...} not yet implemented");
}

// The body is bound against the scope itself, with the loop variable and
// whatever the body introduces appended, and truncated back when the clause
// ends: copying the scope for every clause would make a query with many
// variables and many FOREACH clauses quadratic.
Status bind_foreach_clause_into(const Catalog& catalog, const ForeachClause& clause, Scope& scope,
                                BoundForeachClause& out) {
  ZELVO_TRY(bind_expression_into(catalog, clause.expression, scope, out.expression));
  out.variable = clause.variable;
  const ScopeRestorer restorer(scope);
  scope.add(clause.variable, std::nullopt);
  out.update_clauses.resize(clause.update_clauses.size());
  for (std::size_t i = 0; i < clause.update_clauses.size(); ++i) {
    ZELVO_TRY(bind_update_clause_into(catalog, clause.update_clauses[i], scope, out.update_clauses[i]));
  }
  return {};
}

Result<BoundQuery> bind_query(const Catalog& catalog, const QueryStatement& query) {
  return bind_in_place<BoundQuery>([&](BoundQuery& out) { return bind_query_into(catalog, query, out); });
}

Result<BoundMergeClause> bind_merge_clause(const Catalog& catalog, const MergeClause& clause, Scope& scope) {
  return bind_in_place<BoundMergeClause>(
      [&](BoundMergeClause& out) { return bind_merge_clause_into(catalog, clause, scope, out); });
}

Result<BoundSetItem> bind_set_item(const Catalog& catalog, const SetItem& item, const Scope& scope) {
  return bind_in_place<BoundSetItem>([&](BoundSetItem& out) { return bind_set_item_into(catalog, item, scope, out); });
}

Result<BoundForeachClause> bind_foreach_clause(const Catalog& catalog, const ForeachClause& clause, Scope& scope) {
  return bind_in_place<BoundForeachClause>(
      [&](BoundForeachClause& out) { return bind_foreach_clause_into(catalog, clause, scope, out); });
}

}  // namespace zelvo
