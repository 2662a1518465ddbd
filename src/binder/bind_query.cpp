#include "binder/binder.h"

namespace zelvo {

namespace {

Result<std::optional<BoundExpression>> bind_optional_expression(const Catalog& catalog,
                                                                const std::optional<Expression>& expression,
                                                                const Scope& scope) {
  if (!expression.has_value()) return std::optional<BoundExpression>();
  ZELVO_ASSIGN_OR_RETURN(BoundExpression bound, bind_expression(catalog, *expression, scope));
  return std::optional<BoundExpression>(std::move(bound));
}

Result<BoundDeleteClause> bind_delete_clause(const Catalog& catalog, const DeleteClause& clause, const Scope& scope) {
  ZELVO_ASSIGN_OR_RETURN(std::vector<BoundExpression> expressions,
                         bind_expression_list(catalog, clause.expressions, scope));
  return BoundDeleteClause{std::move(expressions), clause.detach};
}

Result<std::vector<BoundSetItem>> bind_set_items(const Catalog& catalog, const std::vector<SetItem>& items,
                                                 const Scope& scope) {
  std::vector<BoundSetItem> bound;
  bound.reserve(items.size());
  for (const SetItem& item : items) {
    ZELVO_ASSIGN_OR_RETURN(BoundSetItem bound_item, bind_set_item(catalog, item, scope));
    bound.push_back(std::move(bound_item));
  }
  return bound;
}

// A "*" item expands, at its position, into one item per scope entry in
// scope order, each a variable aliased by its own name.
Result<BoundReturnClause> bind_return_clause(const Catalog& catalog, const ReturnClause& clause, const Scope& scope) {
  BoundReturnClause bound{{}, clause.distinct};
  bound.items.reserve(clause.items.size());
  for (const ProjectionItem& item : clause.items) {
    if (item.star) {
      for (const ScopeEntry& entry : scope.entries()) {
        bound.items.push_back(BoundProjectionItem{BoundExpression::variable(entry.name), entry.name});
      }
      continue;
    }
    ZELVO_ASSIGN_OR_RETURN(BoundExpression expression, bind_expression(catalog, item.expression, scope));
    bound.items.push_back(BoundProjectionItem{std::move(expression), item.alias});
  }
  return bound;
}

Result<BoundUpdateClause> bind_update_clause(const Catalog& catalog, const UpdateClause& clause, Scope& scope) {
  return std::visit(
      [&](const auto& c) -> Result<BoundUpdateClause> {
        using T = std::decay_t<decltype(c)>;
        if constexpr (std::is_same_v<T, SetItem>) {
          ZELVO_ASSIGN_OR_RETURN(BoundSetItem item, bind_set_item(catalog, c, scope));
          return BoundUpdateClause{std::move(item)};
        } else if constexpr (std::is_same_v<T, CreateClause>) {
          ZELVO_ASSIGN_OR_RETURN(std::vector<BoundPatternElement> elements,
                                 bind_pattern(catalog, c.pattern.elements, scope));
          return BoundUpdateClause{BoundCreateClause{BoundPattern{std::move(elements)}}};
        } else if constexpr (std::is_same_v<T, MergeClause>) {
          ZELVO_ASSIGN_OR_RETURN(BoundMergeClause merge, bind_merge_clause(catalog, c, scope));
          return BoundUpdateClause{std::move(merge)};
        } else if constexpr (std::is_same_v<T, DeleteClause>) {
          ZELVO_ASSIGN_OR_RETURN(BoundDeleteClause deletion, bind_delete_clause(catalog, c, scope));
          return BoundUpdateClause{std::move(deletion)};
        } else if constexpr (std::is_same_v<T, RemoveItem>) {
          return Error::not_implemented("REMOVE in FOREACH");
        } else {
          ZELVO_ASSIGN_OR_RETURN(BoundForeachClause nested, bind_foreach_clause(catalog, c, scope));
          return BoundUpdateClause{std::move(nested)};
        }
      },
      clause.node);
}

}  // namespace

Result<BoundQuery> bind_query(const Catalog& catalog, const QueryStatement& query) {
  Scope scope;
  BoundQuery bound;

  bound.match_clauses.reserve(query.match_clauses.size());
  for (const MatchClause& clause : query.match_clauses) {
    ZELVO_ASSIGN_OR_RETURN(std::vector<BoundPatternElement> pattern,
                           bind_pattern(catalog, clause.pattern.elements, scope));
    ZELVO_ASSIGN_OR_RETURN(std::optional<BoundExpression> where,
                           bind_optional_expression(catalog, clause.where_clause, scope));
    bound.match_clauses.push_back(BoundMatchClause{std::move(pattern), std::move(where)});
  }

  ZELVO_ASSIGN_OR_RETURN(bound.where_clause, bind_optional_expression(catalog, query.where_clause, scope));

  bound.create_clauses.reserve(query.create_clauses.size());
  for (const CreateClause& clause : query.create_clauses) {
    ZELVO_ASSIGN_OR_RETURN(std::vector<BoundPatternElement> elements,
                           bind_pattern(catalog, clause.pattern.elements, scope));
    bound.create_clauses.push_back(BoundCreateClause{BoundPattern{std::move(elements)}});
  }

  if (query.merge_clause.has_value()) {
    ZELVO_ASSIGN_OR_RETURN(bound.merge_clause, bind_merge_clause(catalog, *query.merge_clause, scope));
  }

  if (query.return_clause.has_value()) {
    ZELVO_ASSIGN_OR_RETURN(bound.return_clause, bind_return_clause(catalog, *query.return_clause, scope));
  }

  if (query.delete_clause.has_value()) {
    ZELVO_ASSIGN_OR_RETURN(bound.delete_clause, bind_delete_clause(catalog, *query.delete_clause, scope));
  }

  ZELVO_ASSIGN_OR_RETURN(bound.set_items, bind_set_items(catalog, query.set_clauses, scope));

  bound.foreach_clauses.reserve(query.foreach_clauses.size());
  for (const ForeachClause& clause : query.foreach_clauses) {
    ZELVO_ASSIGN_OR_RETURN(BoundForeachClause foreach, bind_foreach_clause(catalog, clause, scope));
    bound.foreach_clauses.push_back(std::move(foreach));
  }

  ZELVO_ASSIGN_OR_RETURN(bound.limit, bind_optional_expression(catalog, query.limit, scope));
  ZELVO_ASSIGN_OR_RETURN(bound.skip, bind_optional_expression(catalog, query.skip, scope));
  return bound;
}

Result<BoundMergeClause> bind_merge_clause(const Catalog& catalog, const MergeClause& clause, Scope& scope) {
  ZELVO_ASSIGN_OR_RETURN(std::vector<BoundPatternElement> elements,
                         bind_pattern(catalog, clause.pattern.elements, scope));
  ZELVO_ASSIGN_OR_RETURN(std::vector<BoundSetItem> on_create, bind_set_items(catalog, clause.on_create, scope));
  ZELVO_ASSIGN_OR_RETURN(std::vector<BoundSetItem> on_match, bind_set_items(catalog, clause.on_match, scope));
  return BoundMergeClause{BoundPattern{std::move(elements)}, std::move(on_create), std::move(on_match)};
}

Result<BoundSetItem> bind_set_item(const Catalog& catalog, const SetItem& item, const Scope& scope) {
  if (const auto* property = std::get_if<SetItem::Property>(&item.node)) {
    ZELVO_ASSIGN_OR_RETURN(BoundExpression target, bind_expression(catalog, property->target, scope));
    ZELVO_ASSIGN_OR_RETURN(BoundExpression value, bind_expression(catalog, property->value, scope));
    return BoundSetItem{BoundSetItem::Property{std::move(target), std::move(value)}};
  }
  if (const auto* labels = std::get_if<SetItem::Labels>(&item.node)) {
    // The variable is carried as written, not looked up.
    return BoundSetItem{BoundSetItem::Labels{labels->variable, labels->labels}};
  }
  return Error::not_implemented("SET properties = {...} not yet implemented");
}

Result<BoundForeachClause> bind_foreach_clause(const Catalog& catalog, const ForeachClause& clause,
                                               const Scope& scope) {
  ZELVO_ASSIGN_OR_RETURN(BoundExpression list, bind_expression(catalog, clause.expression, scope));
  Scope body_scope = scope;
  body_scope.add(clause.variable, std::nullopt);
  BoundForeachClause bound{clause.variable, std::move(list), {}};
  bound.update_clauses.reserve(clause.update_clauses.size());
  for (const UpdateClause& update : clause.update_clauses) {
    ZELVO_ASSIGN_OR_RETURN(BoundUpdateClause bound_update, bind_update_clause(catalog, update, body_scope));
    bound.update_clauses.push_back(std::move(bound_update));
  }
  return bound;
}

}  // namespace zelvo
