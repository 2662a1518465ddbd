#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "binder/bound_expression.h"
#include "binder/bound_query.h"
#include "binder/bound_schema.h"
#include "common/ids.h"
#include "common/logical_type.h"
#include "parser/statement.h"
#include "parser/statement_kind.h"

namespace zelvo {

struct BoundStatement;

// Deletes a bound statement together with the chain of statements nested in
// it (EXPLAIN EXPLAIN ..., PROFILE ...) by a loop.
template <>
struct BoxDeleter<BoundStatement> {
  void operator()(BoundStatement* statement) const noexcept;
};

// The binder's output: one kind per statement kind, in the same order.
namespace bound {

struct Query {
  BoundQuery query;
};
struct CreateNodeTable {
  std::string name;
  std::vector<BoundColumnDefinition> columns;
  std::string primary_key;
};
struct CreateRelTable {
  std::string name;
  std::vector<BoundColumnDefinition> columns;
  TableId from_table_id;
  TableId to_table_id;
};
struct DropTable {
  std::string name;
  bool if_exists = false;
};
struct BeginTransaction {
  bool read_only = false;
};
struct Commit {};
struct Rollback {};
struct CreateIndex {
  std::string name;
  TableId table_id;
  std::vector<std::uint32_t> property_ids;
  bool unique = false;
};
struct DropIndex {
  std::string name;
};
struct CopyFrom {
  TableId table_id;
  std::string path;
  std::optional<char32_t> char_option;
  std::optional<bool> flag_option;
};
struct CopyTo {
  TableId table_id;
  std::string path;
  std::optional<char32_t> char_option;
  std::optional<bool> flag_option;
};
struct Call {
  std::string name;
  std::vector<BoundExpression> args;
};
struct Set {
  std::string name;
  BoundExpression value;
};
struct Explain {
  Box<BoundStatement> statement;
  bool analyze = false;
  bool logical = false;
};
struct Profile {
  Box<BoundStatement> statement;
};
struct LoadFrom {
  std::string path;
  std::optional<std::string> format;
};
struct AlterTable {
  TableId table_id;
  BoundAlterAction action;
};
struct CreateSequence {
  std::string name;
  std::int64_t start = 1;
  std::int64_t increment = 1;
  std::optional<std::int64_t> min_value;
  std::optional<std::int64_t> max_value;
  bool cycle = false;
};
struct DropSequence {
  std::string name;
  bool if_exists = false;
};
struct Attach {
  std::string path;
  std::optional<std::string> alias;
};
struct Detach {
  std::string name;
};
struct Use {
  std::string name;
};
struct ExportDatabase {
  std::string path;
};
struct ImportDatabase {
  std::string path;
};
struct CreateMacro {
  std::string name;
  std::vector<std::string> parameters;
  Box<BoundStatement> body;
};
struct CreateType {
  std::string name;
  TypeDefinition definition;
};

}  // namespace bound

struct BoundStatement {
  // Alternatives in StatementKind order.
  using Node = std::variant<bound::Query, bound::CreateNodeTable, bound::CreateRelTable, bound::DropTable,
                            bound::BeginTransaction, bound::Commit, bound::Rollback, bound::CreateIndex,
                            bound::DropIndex, bound::CopyFrom, bound::CopyTo, bound::Call, bound::Set, bound::Explain,
                            bound::Profile, bound::LoadFrom, bound::AlterTable, bound::CreateSequence,
                            bound::DropSequence, bound::Attach, bound::Detach, bound::Use, bound::ExportDatabase,
                            bound::ImportDatabase, bound::CreateMacro, bound::CreateType>;

  Node node;

  StatementKind kind() const { return static_cast<StatementKind>(node.index()); }
  template <typename T>
  const T* as() const {
    return std::get_if<T>(&node);
  }
};

}  // namespace zelvo
