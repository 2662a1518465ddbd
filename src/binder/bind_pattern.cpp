#include "binder/binder.h"

namespace zelvo {

namespace {

// The bound property map of a pattern, absent when the pattern has none.
Result<std::optional<PropertyMap>> bind_optional_property_map(const Catalog& catalog,
                                                              const std::optional<MapLiteral>& map,
                                                              const Scope& scope) {
  if (!map.has_value()) return std::optional<PropertyMap>();
  ZELVO_ASSIGN_OR_RETURN(PropertyMap bound, bind_property_map(catalog, *map, scope));
  return std::optional<PropertyMap>(std::move(bound));
}

// Only the first relationship type is looked up; the others are carried as
// written.
Result<BoundRelPattern> bind_rel_pattern(const Catalog& catalog, const RelPattern& rel, Scope& scope) {
  std::optional<TableId> table_id;
  if (!rel.rel_types.empty()) {
    const std::string& first_type = rel.rel_types.front();
    std::shared_ptr<const RelTableEntry> entry = catalog.get_rel_table_by_name(first_type);
    if (entry == nullptr) return Error::table_not_found(first_type);
    table_id = entry->table_id;
  }
  if (rel.variable.has_value()) scope.add(*rel.variable, table_id);
  ZELVO_ASSIGN_OR_RETURN(std::optional<PropertyMap> properties,
                         bind_optional_property_map(catalog, rel.properties, scope));
  BoundRelPattern bound{rel.variable, table_id, rel.rel_types, rel.direction, std::move(properties), {}, {}};
  if (rel.length.has_value()) {
    bound.min_hops = rel.length->min;
    bound.max_hops = rel.length->max;
  }
  return bound;
}

Result<BoundPatternChain> bind_chain(const Catalog& catalog, const PatternChain& chain, Scope& scope) {
  ZELVO_ASSIGN_OR_RETURN(BoundNodePattern start, bind_node_pattern(catalog, chain.start, scope));
  BoundPatternChain bound{std::move(start), {}};
  bound.relationships.reserve(chain.relationships.size());
  for (const auto& [rel, node] : chain.relationships) {
    ZELVO_ASSIGN_OR_RETURN(BoundRelPattern bound_rel, bind_rel_pattern(catalog, rel, scope));
    ZELVO_ASSIGN_OR_RETURN(BoundNodePattern bound_node, bind_node_pattern(catalog, node, scope));
    bound.relationships.emplace_back(std::move(bound_rel), std::move(bound_node));
  }
  return bound;
}

}  // namespace

Result<std::vector<BoundPatternElement>> bind_pattern(const Catalog& catalog,
                                                      const std::vector<PatternElement>& elements, Scope& scope) {
  std::vector<BoundPatternElement> bound;
  bound.reserve(elements.size());
  for (const PatternElement& element : elements) {
    if (const auto* node = std::get_if<NodePattern>(&element.node)) {
      ZELVO_ASSIGN_OR_RETURN(BoundNodePattern bound_node, bind_node_pattern(catalog, *node, scope));
      bound.push_back(BoundPatternElement{std::move(bound_node)});
    } else {
      ZELVO_ASSIGN_OR_RETURN(BoundPatternChain chain, bind_chain(catalog, std::get<PatternChain>(element.node), scope));
      bound.push_back(BoundPatternElement{std::move(chain)});
    }
  }
  return bound;
}

// Only the first label is looked up; the others are carried as written. The
// node's own variable joins the scope before its properties are bound, so a
// property value may refer to it.
Result<BoundNodePattern> bind_node_pattern(const Catalog& catalog, const NodePattern& node, Scope& scope) {
  std::optional<TableId> table_id;
  if (!node.labels.empty()) {
    const std::string& first_label = node.labels.front();
    std::shared_ptr<const NodeTableEntry> entry = catalog.get_node_table_by_name(first_label);
    if (entry == nullptr) return Error::table_not_found(first_label);
    table_id = entry->table_id;
  }
  if (node.variable.has_value()) scope.add(*node.variable, table_id);
  ZELVO_ASSIGN_OR_RETURN(std::optional<PropertyMap> properties,
                         bind_optional_property_map(catalog, node.properties, scope));
  return BoundNodePattern{node.variable, table_id, node.labels, std::move(properties)};
}

Result<PropertyMap> bind_property_map(const Catalog& catalog, const MapLiteral& map, const Scope& scope) {
  PropertyMap bound;
  bound.reserve(map.entries.size());
  for (const auto& [key, value] : map.entries) {
    ZELVO_ASSIGN_OR_RETURN(BoundExpression bound_value, bind_expression(catalog, value, scope));
    bound.emplace_back(key, std::move(bound_value));
  }
  return bound;
}

}  // namespace zelvo
