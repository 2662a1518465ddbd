#include "binder/bind_in_place.h"
#include "binder/binder.h"

namespace zelvo {

namespace {

// The bound property map of a pattern, left absent when the pattern has none.
Status bind_optional_property_map_into(const Catalog& catalog, const std::optional<MapLiteral>& map, const Scope& scope,
                                       std::optional<PropertyMap>& out) {
  if (!map.has_value()) return {};
  return bind_property_map_into(catalog, *map, scope, out.emplace());
}

// Only the first relationship type is looked up; the others are carried as
// written.
Status bind_rel_pattern_into(const Catalog& catalog, const RelPattern& rel, Scope& scope, BoundRelPattern& out) {
  if (!rel.rel_types.empty()) {
    const std::string& first_type = rel.rel_types.front();
    out.table_id = catalog.rel_table_id_by_name(first_type);
    if (!out.table_id.has_value()) return Error::table_not_found(first_type);
  }
  if (rel.variable.has_value()) scope.add(*rel.variable, out.table_id);
  ZELVO_TRY(bind_optional_property_map_into(catalog, rel.properties, scope, out.properties));
  out.variable = rel.variable;
  out.rel_types = rel.rel_types;
  out.direction = rel.direction;
  if (rel.length.has_value()) {
    out.min_hops = rel.length->min;
    out.max_hops = rel.length->max;
  }
  return {};
}

Status bind_chain_into(const Catalog& catalog, const PatternChain& chain, Scope& scope, BoundPatternChain& out) {
  ZELVO_TRY(bind_node_pattern_into(catalog, chain.start, scope, out.start));
  out.relationships.resize(chain.relationships.size());
  for (std::size_t i = 0; i < chain.relationships.size(); ++i) {
    ZELVO_TRY(bind_rel_pattern_into(catalog, chain.relationships[i].relationship, scope, out.relationships[i].first));
    ZELVO_TRY(bind_node_pattern_into(catalog, chain.relationships[i].node, scope, out.relationships[i].second));
  }
  return {};
}

}  // namespace

Status bind_pattern_into(const Catalog& catalog, const std::vector<PatternElement>& elements, Scope& scope,
                         std::vector<BoundPatternElement>& out) {
  out.resize(elements.size());
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (const auto* node = std::get_if<NodePattern>(&elements[i].node)) {
      ZELVO_TRY(bind_node_pattern_into(catalog, *node, scope, out[i].element.emplace<BoundNodePattern>()));
    } else {
      ZELVO_TRY(bind_chain_into(catalog, std::get<PatternChain>(elements[i].node), scope,
                                out[i].element.emplace<BoundPatternChain>()));
    }
  }
  return {};
}

// Only the first label is looked up; the others are carried as written. The
// node's own variable joins the scope before its properties are bound, so a
// property value may refer to it.
Status bind_node_pattern_into(const Catalog& catalog, const NodePattern& node, Scope& scope, BoundNodePattern& out) {
  if (!node.labels.empty()) {
    const std::string& first_label = node.labels.front();
    out.table_id = catalog.node_table_id_by_name(first_label);
    if (!out.table_id.has_value()) return Error::table_not_found(first_label);
  }
  if (node.variable.has_value()) scope.add(*node.variable, out.table_id);
  ZELVO_TRY(bind_optional_property_map_into(catalog, node.properties, scope, out.properties));
  out.variable = node.variable;
  out.labels = node.labels;
  return {};
}

Status bind_property_map_into(const Catalog& catalog, const MapLiteral& map, const Scope& scope, PropertyMap& out,
                              Nesting nesting) {
  out.resize(map.entries.size());
  for (std::size_t i = 0; i < map.entries.size(); ++i) {
    out[i].first = map.entries[i].key;
    ZELVO_TRY(bind_expression_into(catalog, map.entries[i].value, scope, out[i].second, nesting));
  }
  return {};
}

Result<std::vector<BoundPatternElement>> bind_pattern(const Catalog& catalog,
                                                      const std::vector<PatternElement>& elements, Scope& scope) {
  return bind_in_place<std::vector<BoundPatternElement>>(
      [&](std::vector<BoundPatternElement>& out) { return bind_pattern_into(catalog, elements, scope, out); });
}

Result<BoundNodePattern> bind_node_pattern(const Catalog& catalog, const NodePattern& node, Scope& scope) {
  return bind_in_place<BoundNodePattern>(
      [&](BoundNodePattern& out) { return bind_node_pattern_into(catalog, node, scope, out); });
}

Result<PropertyMap> bind_property_map(const Catalog& catalog, const MapLiteral& map, const Scope& scope) {
  return bind_in_place<PropertyMap>([&](PropertyMap& out) { return bind_property_map_into(catalog, map, scope, out); });
}

}  // namespace zelvo
