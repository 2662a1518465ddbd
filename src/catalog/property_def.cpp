#include "catalog/property_def.h"

#include <limits>

#include "common/invariant.h"

namespace zelvo {

std::vector<PropertyDef> build_property_defs(std::vector<std::pair<std::string, LogicalType>> columns) {
  ZELVO_CHECK(columns.size() <= std::numeric_limits<std::uint32_t>::max(), "too many properties for a table");
  std::vector<PropertyDef> properties;
  properties.reserve(columns.size());
  std::uint32_t id = 0;
  for (auto& [name, data_type] : columns) {
    properties.push_back(PropertyDef{std::move(name), std::move(data_type), id});
    ++id;
  }
  return properties;
}

const PropertyDef* find_property(std::span<const PropertyDef> properties, std::string_view name) {
  for (const PropertyDef& property : properties) {
    if (property.name == name) return &property;
  }
  return nullptr;
}

std::optional<std::size_t> property_index(std::span<const PropertyDef> properties, std::string_view name) {
  for (std::size_t i = 0; i < properties.size(); ++i) {
    if (properties[i].name == name) return i;
  }
  return std::nullopt;
}

}  // namespace zelvo
