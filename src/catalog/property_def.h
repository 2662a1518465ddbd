#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/logical_type.h"

namespace zelvo {

// One property (column) of a node or relationship table.
struct PropertyDef {
  std::string name;
  LogicalType data_type;
  // The property's position in its table, from 0.
  std::uint32_t id = 0;

  friend bool operator==(const PropertyDef&, const PropertyDef&) = default;
};

// The property definitions of (name, type) pairs, in the same order, each
// with its position as `id`.
std::vector<PropertyDef> build_property_defs(std::vector<std::pair<std::string, LogicalType>> columns);

// The first definition named exactly `name` (byte for byte), or null.
const PropertyDef* find_property(std::span<const PropertyDef> properties, std::string_view name);

// The position of the first definition named exactly `name`, or none.
std::optional<std::size_t> property_index(std::span<const PropertyDef> properties, std::string_view name);

}  // namespace zelvo
