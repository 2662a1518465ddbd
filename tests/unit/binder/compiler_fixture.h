#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "binder/binder.h"
#include "catalog/catalog.h"
#include "common/logical_type.h"
#include "parser/parser.h"

// Shared by the binder, planner and optimizer tests: a small catalog and
// helpers that take statement text through the parser and the binder.

namespace zelvo::testing {

// Node tables Person(name, age) = 1, A(x) = 2, B = 3, T(v) = 4; relationship
// tables KNOWS (Person to Person) = 5, R (A to B) = 6, S (B to A) = 7.
inline std::shared_ptr<Catalog> make_compiler_catalog() {
  auto catalog = std::make_shared<Catalog>();
  const LogicalType string_type(LogicalTypeKind::String);
  const LogicalType int_type(LogicalTypeKind::Int64);
  const auto node = [&](std::string name, std::vector<std::pair<std::string, LogicalType>> columns) {
    EXPECT_TRUE(
        catalog->create_node_table(NodeTableDef{std::move(name), build_property_defs(std::move(columns)), 0}).ok());
  };
  const auto rel = [&](std::string name, std::uint64_t from, std::uint64_t to) {
    EXPECT_TRUE(catalog->create_rel_table(RelTableDef{std::move(name), {}, TableId{from}, TableId{to}}).ok());
  };
  node("Person", {{"name", string_type}, {"age", int_type}});
  node("A", {{"x", int_type}});
  node("B", {});
  node("T", {{"v", int_type}});
  rel("KNOWS", 1, 1);
  rel("R", 2, 3);
  rel("S", 3, 2);
  return catalog;
}

inline Statement parse_or_die(std::string_view text) {
  Result<Statement> statement = Parser::parse(text);
  if (!statement.ok()) {
    ADD_FAILURE() << text << ": " << statement.error().display();
    return Statement{};
  }
  return std::move(statement).value();
}

// Parses and binds; the error's display text on failure.
inline Result<BoundStatement> bind_text(const std::shared_ptr<Catalog>& catalog, std::string_view text) {
  return bind_statement(catalog, parse_or_die(text));
}

inline BoundQuery bind_query_text(const std::shared_ptr<Catalog>& catalog, std::string_view text) {
  Result<BoundStatement> bound = bind_text(catalog, text);
  const auto* query = bound.ok() ? bound->as<bound::Query>() : nullptr;
  if (query == nullptr) {
    ADD_FAILURE() << text << ": " << (bound.ok() ? std::string("not a query") : bound.error().display());
    return BoundQuery{};
  }
  return query->query;
}

// The display text of the binding error, or "ok".
inline std::string bind_outcome(const std::shared_ptr<Catalog>& catalog, std::string_view text) {
  Result<BoundStatement> bound = bind_text(catalog, text);
  return bound.ok() ? std::string("ok") : bound.error().display();
}

}  // namespace zelvo::testing
