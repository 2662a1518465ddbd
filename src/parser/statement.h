#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "common/debug_writer.h"
#include "common/logical_type.h"
#include "parser/statement_kind.h"
#include "parser/syntax_tree.h"

namespace zelvo {

struct Statement;

// Deletes a statement together with the chain of statements nested in it
// (EXPLAIN EXPLAIN ..., PROFILE PROFILE ...), which the parser builds by a
// loop, by a loop too.
struct StatementDeleter {
  StatementDeleter() = default;
  StatementDeleter(std::default_delete<Statement> /*unused*/) {}  // NOLINT: converts std::make_unique's pointers
  void operator()(Statement* statement) const noexcept;
};
using StatementPtr = std::unique_ptr<Statement, StatementDeleter>;

// The statement nested in an EXPLAIN, PROFILE or CREATE MACRO, taken out of
// `statement`; nullptr for the other kinds. For syntax and bound statements
// alike: their three kinds hold the nested statement in the same fields.
template <typename AnyStatement, typename Explain, typename Profile, typename CreateMacro>
AnyStatement* release_nested_statement(AnyStatement& statement) {
  if (auto* explain = std::get_if<Explain>(&statement.node)) return explain->statement.release();
  if (auto* profile = std::get_if<Profile>(&statement.node)) return profile->statement.release();
  if (auto* macro = std::get_if<CreateMacro>(&statement.node)) return macro->body.release();
  return nullptr;
}

// One column of CREATE NODE TABLE, CREATE REL TABLE or ALTER TABLE ADD.
struct ColumnDefinition {
  std::string name;
  LogicalType data_type;
  std::optional<Expression> default_value;  // no syntax fills it; debug text names it "default"
  bool flag = true;
  void describe(DebugWriter& w) const;
};

// The action of ALTER TABLE. AlterColumnDefault and DropColumnDefault are
// never built by the parser; the binder rejects them.
struct AlterAction {
  struct AddColumn {
    ColumnDefinition column;
  };
  struct DropColumn {
    std::string column;
  };
  struct RenameColumn {
    std::string old_name;
    std::string new_name;
  };
  struct RenameTable {
    std::string new_name;
  };
  struct AlterColumnDefault {
    std::string column;
    Expression default_value;
  };
  struct DropColumnDefault {
    std::string column;
  };
  std::variant<AddColumn, DropColumn, RenameColumn, RenameTable, AlterColumnDefault, DropColumnDefault> node;
  void describe(DebugWriter& w) const;
};

// The definition of CREATE TYPE.
struct TypeDefinition {
  struct Struct {
    std::vector<std::pair<std::string, LogicalType>> fields;  // in written order
  };
  struct Enum {
    std::vector<std::string> values;
  };
  struct Alias {
    LogicalType type;
  };
  std::variant<Struct, Enum, Alias> node;
  void describe(DebugWriter& w) const;
};

// Options of COPY; no syntax fills them.
struct CopyOptions {
  std::array<std::optional<char32_t>, 3> char_options;
  std::optional<bool> flag_option;
  void describe(DebugWriter& w) const;
};

// The parser's output for one statement: a query or one of the schema and
// utility statements. node.index() is the StatementKind.
struct Statement {
  struct Query {
    QueryStatement query;
  };
  struct CreateNodeTable {
    std::string name;
    std::vector<ColumnDefinition> columns;
    std::string primary_key;  // empty when no PRIMARY KEY clause was written
  };
  struct CreateRelTable {
    std::string name;
    std::string from_table;
    std::string to_table;
    std::vector<ColumnDefinition> columns;
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
    std::string table;
    std::vector<std::string> columns;
    bool unique = false;
  };
  struct DropIndex {
    std::string name;
  };
  struct CopyFrom {
    std::string table;
    std::string path;
    CopyOptions options;
  };
  struct CopyTo {
    std::string table;
    std::string path;
    CopyOptions options;
  };
  struct Call {
    std::string name;  // the procedure
    std::vector<Expression> args;
  };
  struct Set {
    std::string name;  // the setting
    Expression value;
  };
  struct Explain {
    StatementPtr statement;
    bool analyze = false;
    bool logical = false;
  };
  struct Profile {
    StatementPtr statement;
  };
  struct LoadFrom {
    std::string path;
    std::optional<std::string> format;
  };
  struct AlterTable {
    std::string table;
    AlterAction action;
  };
  struct CreateSequence {
    std::string name;
    std::optional<std::int64_t> start;
    std::optional<std::int64_t> increment;
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
    StatementPtr body;  // always a Query
  };
  struct CreateType {
    std::string name;
    TypeDefinition definition;
  };

  using Node =
      std::variant<Query, CreateNodeTable, CreateRelTable, DropTable, BeginTransaction, Commit, Rollback, CreateIndex,
                   DropIndex, CopyFrom, CopyTo, Call, Set, Explain, Profile, LoadFrom, AlterTable, CreateSequence,
                   DropSequence, Attach, Detach, Use, ExportDatabase, ImportDatabase, CreateMacro, CreateType>;

  StatementKind kind() const { return static_cast<StatementKind>(node.index()); }
  void describe(DebugWriter& w) const;

  Node node;
  // The deepest nesting of constructs in the text of a parsed statement
  // (parentheses, lists, maps, CASE, calls, subscripts, prefix operators,
  // "^", FOREACH): 0 when it has none. Chains of operators, clauses, UNION
  // and EXPLAIN do not nest. Not part of the debug text.
  std::uint32_t nesting_depth = 0;
};

}  // namespace zelvo
