#pragma once

#include <compare>
#include <cstdint>
#include <functional>

#include "common/debug_writer.h"

namespace zelvo {

// The number of a node or relationship table. The catalog hands them out
// from one counter starting at 1, so 0 never names a table.
struct TableId {
  std::uint64_t value = 0;

  friend auto operator<=>(const TableId&, const TableId&) = default;
  void describe(DebugWriter& w) const { w.tuple("TableId").item(value).finish(); }
};

// The position of a row within its table.
struct Offset {
  std::uint64_t value = 0;

  friend auto operator<=>(const Offset&, const Offset&) = default;
  void describe(DebugWriter& w) const { w.tuple("Offset").item(value).finish(); }
};

// The identity of one node or relationship anywhere in the database.
struct InternalId {
  TableId table_id;
  Offset offset;

  friend auto operator<=>(const InternalId&, const InternalId&) = default;
  void describe(DebugWriter& w) const {
    w.record("InternalId").field("table_id", table_id).field("offset", offset).finish();
  }
};

// The id of a column (a property's position in its table).
struct ColumnId {
  std::uint64_t value = 0;

  friend auto operator<=>(const ColumnId&, const ColumnId&) = default;
  void describe(DebugWriter& w) const { w.tuple("ColumnId").item(value).finish(); }
};

}  // namespace zelvo

template <>
struct std::hash<zelvo::TableId> {
  std::size_t operator()(const zelvo::TableId& id) const noexcept { return std::hash<std::uint64_t>{}(id.value); }
};
