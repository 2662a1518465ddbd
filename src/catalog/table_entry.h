#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog/property_def.h"
#include "common/ids.h"

namespace zelvo {

// The definition of a new node table, as CREATE NODE TABLE passes it to the
// catalog; the catalog assigns the id.
struct NodeTableDef {
  std::string name;
  std::vector<PropertyDef> properties;
  // Position in `properties` of the primary-key column; 0 when the key names
  // no column.
  std::uint64_t primary_key_index = 0;
};

// A node table as the catalog holds it. Shared read-only: a holder keeps a
// consistent entry after the table is dropped.
struct NodeTableEntry {
  std::string name;
  std::vector<PropertyDef> properties;
  TableId table_id;
  std::uint64_t primary_key_index = 0;
};

// The definition of a new relationship table; the catalog assigns the id.
struct RelTableDef {
  std::string name;
  std::vector<PropertyDef> properties;
  TableId src_table_id;
  TableId dst_table_id;
};

// A relationship table as the catalog holds it, from the node table
// `src_table_id` to the node table `dst_table_id`.
struct RelTableEntry {
  std::string name;
  std::vector<PropertyDef> properties;
  TableId src_table_id;
  TableId dst_table_id;
  TableId table_id;
};

}  // namespace zelvo
