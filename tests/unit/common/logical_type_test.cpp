#include "common/logical_type.h"

#include <gtest/gtest.h>

#include <unordered_map>
#include <unordered_set>

#include "common/ids.h"

namespace zelvo {
namespace {

TEST(LogicalType, DebugTexts) {
  const LogicalType int64(LogicalTypeKind::Int64);
  const struct {
    LogicalType type;
    std::string text;
  } cases[] = {
      {LogicalType(LogicalTypeKind::TimestampTz), "TimestampTz"},
      {LogicalType(LogicalTypeKind::RecursiveRel), "RecursiveRel"},
      {LogicalType::decimal(18, 3), "Decimal { precision: 18, scale: 3 }"},
      {LogicalType::list(LogicalType::list(int64)), "List(List(Int64))"},
      {LogicalType::array(int64, 3), "Array { element_type: Int64, size: 3 }"},
      {LogicalType::map(LogicalType(LogicalTypeKind::String), int64), "Map { key_type: String, value_type: Int64 }"},
      {LogicalType::struct_type({}), "Struct([])"},
      {LogicalType::struct_type({{"a", int64}}), R"(Struct([StructField { name: "a", data_type: Int64 }]))"},
      {LogicalType::union_type({{0, "a", int64}}), R"(Union([UnionField { tag: 0, name: "a", data_type: Int64 }]))"},
  };
  for (const auto& c : cases) EXPECT_EQ(debug_text(c.type), c.text);
  EXPECT_EQ(debug_text(InternalId{TableId{3}, Offset{5}}), "InternalId { table_id: TableId(3), offset: Offset(5) }");
  EXPECT_EQ(debug_text(TableId{0}), "TableId(0)");
  EXPECT_EQ(debug_text(ColumnId{2}), "ColumnId(2)");
}

// Every id keys a standard set and map; equal ids hash alike, and internal
// ids that differ in one number only are still told apart.
TEST(Ids, KeyStandardHashContainers) {
  const auto keys_by_number = [](auto make) {
    using Id = decltype(make(0));
    std::unordered_set<Id> set{make(1), make(2), make(1)};
    std::unordered_map<Id, int> map{{make(7), 70}};
    EXPECT_EQ(set.size(), 2u);
    EXPECT_EQ(map.at(make(7)), 70);
    EXPECT_EQ(std::hash<Id>{}(make(9)), std::hash<Id>{}(make(9)));
  };
  keys_by_number([](std::uint64_t n) { return TableId{n}; });
  keys_by_number([](std::uint64_t n) { return Offset{n}; });
  keys_by_number([](std::uint64_t n) { return ColumnId{n}; });

  const std::hash<InternalId> hash;
  EXPECT_EQ(hash(InternalId{TableId{3}, Offset{5}}), hash(InternalId{TableId{3}, Offset{5}}));
  std::unordered_set<InternalId> ids;
  for (std::uint64_t table = 1; table <= 4; ++table) {
    for (std::uint64_t offset = 0; offset < 4; ++offset) ids.insert(InternalId{TableId{table}, Offset{offset}});
  }
  ids.insert(InternalId{TableId{2}, Offset{3}});
  EXPECT_EQ(ids.size(), 16u);
  EXPECT_TRUE(ids.contains(InternalId{TableId{3}, Offset{2}}));
  EXPECT_FALSE(ids.contains(InternalId{TableId{5}, Offset{2}}));
  EXPECT_FALSE(ids.contains(InternalId{TableId{3}, Offset{4}}));
  // The same offset in other tables, and swapped numbers, spread over
  // different hashes rather than colliding.
  EXPECT_NE(hash(InternalId{TableId{1}, Offset{5}}), hash(InternalId{TableId{2}, Offset{5}}));
  EXPECT_NE(hash(InternalId{TableId{2}, Offset{5}}), hash(InternalId{TableId{5}, Offset{2}}));
  std::unordered_map<InternalId, std::string> names{{InternalId{TableId{1}, Offset{0}}, "a"}};
  names[InternalId{TableId{1}, Offset{1}}] = "b";
  names[InternalId{TableId{2}, Offset{0}}] = "c";
  EXPECT_EQ(names.size(), 3u);
  EXPECT_EQ(names.at(InternalId{TableId{1}, Offset{1}}), "b");
}

TEST(LogicalType, ElementTypesAreShared) {
  LogicalType first = LogicalType::list(LogicalType(LogicalTypeKind::Int64));
  const LogicalType copy = first;
  EXPECT_EQ(copy.element_type().use_count(), 2);
  first = LogicalType(LogicalTypeKind::Bool);
  EXPECT_EQ(copy.element_type().use_count(), 1);
  EXPECT_EQ(debug_text(copy), "List(Int64)");
  EXPECT_EQ(copy, LogicalType::list(LogicalType(LogicalTypeKind::Int64)));
  EXPECT_FALSE(copy == LogicalType::list(LogicalType(LogicalTypeKind::Int32)));
}

}  // namespace
}  // namespace zelvo
