#include "catalog/catalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zelvo {
namespace {

using TableList = std::vector<std::pair<std::string, std::string>>;

Status create_node(Catalog& catalog, std::string name, std::vector<PropertyDef> properties = {}) {
  Result<TableId> id = catalog.create_node_table(NodeTableDef{std::move(name), std::move(properties), 1});
  return id.ok() ? Status{} : std::move(id).error();
}

Status create_rel(Catalog& catalog, std::string name, std::uint64_t src, std::uint64_t dst) {
  Result<TableId> id = catalog.create_rel_table(RelTableDef{std::move(name), {}, TableId{src}, TableId{dst}});
  return id.ok() ? Status{} : std::move(id).error();
}

std::string display(const Status& status) { return status.ok() ? "ok" : status.error().display(); }

TEST(CatalogTest, IdsComeFromOneCounterAndVersionCountsChanges) {
  Catalog catalog;
  EXPECT_EQ(*catalog.create_node_table(NodeTableDef{"Person", {}, 0}), TableId{1});
  EXPECT_EQ(*catalog.create_rel_table(RelTableDef{"Knows", {}, TableId{1}, TableId{1}}), TableId{2});
  ASSERT_TRUE(catalog.drop_rel_table("Knows").ok());
  EXPECT_EQ(*catalog.create_node_table(NodeTableDef{"Knows", {}, 0}), TableId{3});
  EXPECT_EQ(catalog.version(), 4u);
}

// Every failure leaves the catalog as it was: same version, no id consumed.
TEST(CatalogTest, FailuresCarryTheirMessagesAndChangeNothing) {
  using Op = std::function<Status(Catalog&)>;
  const std::vector<std::pair<Op, std::string>> cases = {
      {[](Catalog& c) { return create_node(c, "Person"); }, "Catalog error: Node table 'Person' already exists"},
      {[](Catalog& c) { return create_rel(c, "Knows", 9, 8); },
       "Catalog error: Relationship table 'Knows' already exists"},
      {[](Catalog& c) { return create_rel(c, "Likes", 2, 7); }, "Catalog error: Source table TableId(2) does not exist"},
      {[](Catalog& c) { return create_rel(c, "Likes", 1, 7); },
       "Catalog error: Destination table TableId(7) does not exist"},
      {[](Catalog& c) { return c.drop_node_table("Knows"); }, "Table not found: Knows"},
      {[](Catalog& c) { return c.drop_rel_table("Person"); }, "Table not found: Person"},
      {[](Catalog& c) { return c.drop_node_table("person"); }, "Table not found: person"},
  };
  for (const auto& [operation, expected] : cases) {
    SCOPED_TRACE(expected);
    Catalog catalog;
    ASSERT_TRUE(create_node(catalog, "Person").ok());
    ASSERT_TRUE(create_rel(catalog, "Knows", 1, 1).ok());
    EXPECT_EQ(display(operation(catalog)), expected);
    EXPECT_EQ(catalog.version(), 2u);
    EXPECT_EQ(catalog.list_tables(), (TableList{{"Person", "NODE"}, {"Knows", "REL"}}));
    EXPECT_EQ(*catalog.create_node_table(NodeTableDef{"Next", {}, 0}), TableId{3});
  }
}

TEST(CatalogTest, NodeAndRelTablesHaveSeparateNames) {
  Catalog catalog;
  ASSERT_TRUE(create_node(catalog, "Knows").ok());
  ASSERT_TRUE(create_node(catalog, "City").ok());
  ASSERT_TRUE(create_rel(catalog, "Knows", 1, 2).ok());
  EXPECT_TRUE(catalog.table_exists("Knows"));
  EXPECT_FALSE(catalog.table_exists("knows"));
  TableList tables = catalog.list_tables();
  std::sort(tables.begin(), tables.begin() + 2);  // node tables first, in map order
  EXPECT_EQ(tables, (TableList{{"City", "NODE"}, {"Knows", "NODE"}, {"Knows", "REL"}}));

  // Dropping a node table leaves the relationship tables that name it.
  ASSERT_TRUE(catalog.drop_node_table("Knows").ok());
  EXPECT_FALSE(catalog.has_node_table("Knows"));
  EXPECT_TRUE(catalog.table_exists("Knows"));
  EXPECT_EQ(catalog.get_rel_table_by_name("Knows")->src_table_id, TableId{1});
  EXPECT_EQ(catalog.list_node_tables().size(), 1u);
  EXPECT_EQ(catalog.list_rel_tables().size(), 1u);
}

TEST(CatalogTest, HeldEntriesOutliveDrops) {
  Catalog catalog;
  const std::vector<PropertyDef> properties = build_property_defs({{"name", LogicalType(LogicalTypeKind::String)}});
  ASSERT_TRUE(create_node(catalog, "Person", properties).ok());
  const std::shared_ptr<const NodeTableEntry> held = catalog.get_node_table_by_name("Person");
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(held, catalog.get_node_table(TableId{1}));

  ASSERT_TRUE(catalog.drop_node_table("Person").ok());
  EXPECT_EQ(catalog.get_node_table_by_name("Person"), nullptr);
  EXPECT_EQ(catalog.get_node_table(TableId{1}), nullptr);
  ASSERT_TRUE(create_node(catalog, "Person").ok());
  EXPECT_EQ(catalog.get_node_table_by_name("Person")->table_id, TableId{2});
  EXPECT_EQ(held->name, "Person");
  EXPECT_EQ(held->table_id, TableId{1});
  EXPECT_EQ(held->properties, properties);
  EXPECT_EQ(held->primary_key_index, 1u);
}

TEST(PropertyDefTest, BuildNumbersInOrderAndLookupsFindTheFirstExactMatch) {
  const LogicalType int64(LogicalTypeKind::Int64);
  const std::vector<PropertyDef> properties =
      build_property_defs({{"id", int64}, {"name", LogicalType::list(int64)}, {"name", int64}});
  EXPECT_EQ(properties[1], (PropertyDef{"name", LogicalType::list(int64), 1}));
  EXPECT_EQ(properties[2].id, 2u);

  const std::vector<std::pair<std::string, std::optional<std::size_t>>> cases = {
      {"id", 0}, {"name", 1}, {"Name", std::nullopt}, {"nam", std::nullopt}, {std::string("id\0", 3), std::nullopt},
  };
  for (const auto& [name, index] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(property_index(properties, name), index);
    EXPECT_EQ(find_property(properties, name), index ? &properties[*index] : nullptr);
  }
}

}  // namespace
}  // namespace zelvo
