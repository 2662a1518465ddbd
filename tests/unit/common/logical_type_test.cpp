#include "common/logical_type.h"

#include <gtest/gtest.h>

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
