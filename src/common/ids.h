#pragma once

#include <compare>
#include <cstdint>
#include <functional>

#include "common/debug_writer.h"
#include "common/hasher.h"

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
  // Both numbers, table first: the same offset in different tables, or the
  // two numbers swapped, hash apart.
  void hash(Hasher& hasher) const {
    hasher.write_u64(table_id.value);
    hasher.write_u64(offset.value);
  }
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

// The hash of an id that wraps one number: the hash of that number.
template <typename Id>
struct HashByNumber {
  std::size_t operator()(const Id& id) const noexcept { return std::hash<std::uint64_t>{}(id.value); }
};

}  // namespace zelvo

// Ids hash by their number, so each can key a standard hash map or set.
template <>
struct std::hash<zelvo::TableId> : zelvo::HashByNumber<zelvo::TableId> {};
template <>
struct std::hash<zelvo::Offset> : zelvo::HashByNumber<zelvo::Offset> {};
template <>
struct std::hash<zelvo::ColumnId> : zelvo::HashByNumber<zelvo::ColumnId> {};

template <>
struct std::hash<zelvo::InternalId> {
  std::size_t operator()(const zelvo::InternalId& id) const noexcept {
    zelvo::Hasher hasher;
    id.hash(hasher);
    return static_cast<std::size_t>(hasher.finish());
  }
};
