#include <type_traits>

#include "binder/bind_in_place.h"
#include "binder/binder.h"
#include "common/chain_delete.h"
#include "common/stack_guard.h"

namespace zelvo {

namespace {

// The node table of that name; schema statements accept node tables only.
Result<std::shared_ptr<const NodeTableEntry>> lookup_node_table(const Catalog& catalog, const std::string& name) {
  std::shared_ptr<const NodeTableEntry> entry = catalog.get_node_table_by_name(name);
  if (entry == nullptr) return Error::table_not_found(name);
  return entry;
}

Result<TableId> lookup_node_table_id(const Catalog& catalog, const std::string& name) {
  ZELVO_ASSIGN_OR_RETURN(std::shared_ptr<const NodeTableEntry> entry, lookup_node_table(catalog, name));
  return entry->table_id;
}

Result<std::uint32_t> property_id_of(const NodeTableEntry& table, const std::string& column) {
  const PropertyDef* property = find_property(table.properties, column);
  if (property == nullptr) return Error::column_not_found(column);
  return property->id;
}

Result<BoundAlterAction> bind_alter_action(const NodeTableEntry& table, const AlterAction& action) {
  using A = AlterAction;
  using B = BoundAlterAction;
  return std::visit(
      [&](const auto& a) -> Result<BoundAlterAction> {
        using T = std::decay_t<decltype(a)>;
        if constexpr (std::is_same_v<T, A::AddColumn>) {
          return B{B::AddColumn{a.column.name, a.column.data_type, a.column.flag}};
        } else if constexpr (std::is_same_v<T, A::DropColumn>) {
          ZELVO_ASSIGN_OR_RETURN(std::uint32_t id, property_id_of(table, a.column));
          return B{B::DropColumn{id}};
        } else if constexpr (std::is_same_v<T, A::RenameColumn>) {
          ZELVO_ASSIGN_OR_RETURN(std::uint32_t id, property_id_of(table, a.old_name));
          return B{B::RenameColumn{id, a.new_name}};
        } else if constexpr (std::is_same_v<T, A::RenameTable>) {
          return B{B::RenameTable{a.new_name}};
        } else {
          return Error::execution("Unsupported ALTER TABLE action");
        }
      },
      action.node);
}

Status bind_create_index_into(const Catalog& catalog, const Statement::CreateIndex& s, BoundStatement& out) {
  ZELVO_ASSIGN_OR_RETURN(std::shared_ptr<const NodeTableEntry> table, lookup_node_table(catalog, s.table));
  ZELVO_ASSIGN_OR_RETURN(std::vector<std::uint32_t> property_ids, resolve_property_ids(table->properties, s.columns));
  out.node.emplace<bound::CreateIndex>(bound::CreateIndex{s.name, table->table_id, std::move(property_ids), s.unique});
  return {};
}

Status bind_alter_table_into(const Catalog& catalog, const Statement::AlterTable& s, BoundStatement& out) {
  ZELVO_ASSIGN_OR_RETURN(std::shared_ptr<const NodeTableEntry> table, lookup_node_table(catalog, s.table));
  ZELVO_ASSIGN_OR_RETURN(BoundAlterAction action, bind_alter_action(*table, s.action));
  out.node.emplace<bound::AlterTable>(bound::AlterTable{table->table_id, std::move(action)});
  return {};
}

// COPY carries the first character option and the flag.
template <typename BoundCopy, typename Copy>
Status bind_copy_into(const Catalog& catalog, const Copy& s, BoundStatement& out) {
  ZELVO_ASSIGN_OR_RETURN(TableId table_id, lookup_node_table_id(catalog, s.table));
  out.node.emplace<BoundCopy>(BoundCopy{table_id, s.path, s.options.char_options[0], s.options.flag_option});
  return {};
}

// The inner statement of EXPLAIN, PROFILE or CREATE MACRO, bound into the
// outer statement's slot for it.
Status bind_inner_statement_into(const std::shared_ptr<Catalog>& catalog, const StatementPtr& inner,
                                 Box<BoundStatement>& out) {
  ZELVO_CHECK(inner != nullptr, "statement without its inner statement");
  if (!stack_has_room()) return Error::binder(std::string(kNestedTooDeeply));
  return bind_statement_into(catalog, *inner, *out);
}

// The slot of an inner statement, holding a statement without parts (cheaper
// to make and move than the default, an empty query) until binding fills it.
Box<BoundStatement> empty_inner_statement() { return Box<BoundStatement>(BoundStatement{bound::Commit{}}); }

}  // namespace

void BoxDeleter<BoundStatement>::operator()(BoundStatement* statement) const noexcept {
  delete_chain(statement, release_nested_statement<BoundStatement, bound::Explain, bound::Profile, bound::CreateMacro>);
}

Result<BoundStatement> bind_statement(const std::shared_ptr<Catalog>& catalog, const Statement& statement) {
  // Made in place from a statement without parts, which binding replaces.
  Result<BoundStatement> result = BoundStatement{bound::Commit{}};
  Status status = bind_statement_into(catalog, statement, *result);
  if (!status.ok()) result = std::move(status).error();
  return result;
}

Status bind_statement_into(const std::shared_ptr<Catalog>& catalog_handle, const Statement& statement,
                           BoundStatement& out) {
  ZELVO_CHECK(catalog_handle != nullptr, "binding without a catalog");
  const Catalog& catalog = *catalog_handle;
  const Scope empty_scope;
  using S = Statement;
  return std::visit(
      [&](const auto& s) -> Status {
        using T = std::decay_t<decltype(s)>;
        if constexpr (std::is_same_v<T, S::Query>) {
          return bind_query_into(catalog, s.query, out.node.emplace<bound::Query>().query);
        } else if constexpr (std::is_same_v<T, S::CreateNodeTable>) {
          out.node.emplace<bound::CreateNodeTable>(
              bound::CreateNodeTable{s.name, bind_column_definitions(s.columns), s.primary_key});
        } else if constexpr (std::is_same_v<T, S::CreateRelTable>) {
          ZELVO_ASSIGN_OR_RETURN(TableId from, lookup_node_table_id(catalog, s.from_table));
          ZELVO_ASSIGN_OR_RETURN(TableId to, lookup_node_table_id(catalog, s.to_table));
          out.node.emplace<bound::CreateRelTable>(
              bound::CreateRelTable{s.name, bind_column_definitions(s.columns), from, to});
        } else if constexpr (std::is_same_v<T, S::DropTable>) {
          if (!s.if_exists && !catalog.table_exists(s.name)) return Error::table_not_found(s.name);
          out.node.emplace<bound::DropTable>(bound::DropTable{s.name, s.if_exists});
        } else if constexpr (std::is_same_v<T, S::BeginTransaction>) {
          out.node.emplace<bound::BeginTransaction>(bound::BeginTransaction{s.read_only});
        } else if constexpr (std::is_same_v<T, S::Commit>) {
          out.node.emplace<bound::Commit>();
        } else if constexpr (std::is_same_v<T, S::Rollback>) {
          out.node.emplace<bound::Rollback>();
        } else if constexpr (std::is_same_v<T, S::CreateIndex>) {
          return bind_create_index_into(catalog, s, out);
        } else if constexpr (std::is_same_v<T, S::DropIndex>) {
          out.node.emplace<bound::DropIndex>(bound::DropIndex{s.name});
        } else if constexpr (std::is_same_v<T, S::CopyFrom>) {
          return bind_copy_into<bound::CopyFrom>(catalog, s, out);
        } else if constexpr (std::is_same_v<T, S::CopyTo>) {
          return bind_copy_into<bound::CopyTo>(catalog, s, out);
        } else if constexpr (std::is_same_v<T, S::Call>) {
          auto& call = out.node.emplace<bound::Call>(bound::Call{s.name, {}});
          return bind_expression_list_into(catalog, s.args, empty_scope, call.args);
        } else if constexpr (std::is_same_v<T, S::Set>) {
          auto& set = out.node.emplace<bound::Set>(bound::Set{s.name, {}});
          return bind_expression_into(catalog, s.value, empty_scope, set.value);
        } else if constexpr (std::is_same_v<T, S::Explain>) {
          auto& explain =
              out.node.emplace<bound::Explain>(bound::Explain{empty_inner_statement(), s.analyze, s.logical});
          return bind_inner_statement_into(catalog_handle, s.statement, explain.statement);
        } else if constexpr (std::is_same_v<T, S::Profile>) {
          auto& profile = out.node.emplace<bound::Profile>(bound::Profile{empty_inner_statement()});
          return bind_inner_statement_into(catalog_handle, s.statement, profile.statement);
        } else if constexpr (std::is_same_v<T, S::LoadFrom>) {
          out.node.emplace<bound::LoadFrom>(bound::LoadFrom{s.path, s.format});
        } else if constexpr (std::is_same_v<T, S::AlterTable>) {
          return bind_alter_table_into(catalog, s, out);
        } else if constexpr (std::is_same_v<T, S::CreateSequence>) {
          out.node.emplace<bound::CreateSequence>(bound::CreateSequence{
              s.name, s.start.value_or(1), s.increment.value_or(1), s.min_value, s.max_value, s.cycle});
        } else if constexpr (std::is_same_v<T, S::DropSequence>) {
          out.node.emplace<bound::DropSequence>(bound::DropSequence{s.name, s.if_exists});
        } else if constexpr (std::is_same_v<T, S::Attach>) {
          out.node.emplace<bound::Attach>(bound::Attach{s.path, s.alias});
        } else if constexpr (std::is_same_v<T, S::Detach>) {
          out.node.emplace<bound::Detach>(bound::Detach{s.name});
        } else if constexpr (std::is_same_v<T, S::Use>) {
          out.node.emplace<bound::Use>(bound::Use{s.name});
        } else if constexpr (std::is_same_v<T, S::ExportDatabase>) {
          out.node.emplace<bound::ExportDatabase>(bound::ExportDatabase{s.path});
        } else if constexpr (std::is_same_v<T, S::ImportDatabase>) {
          out.node.emplace<bound::ImportDatabase>(bound::ImportDatabase{s.path});
        } else if constexpr (std::is_same_v<T, S::CreateMacro>) {
          // The body is bound as a statement of its own: the parameters are
          // not in its scope.
          auto& macro =
              out.node.emplace<bound::CreateMacro>(bound::CreateMacro{s.name, s.parameters, empty_inner_statement()});
          return bind_inner_statement_into(catalog_handle, s.body, macro.body);
        } else {
          static_assert(std::is_same_v<T, S::CreateType>);
          out.node.emplace<bound::CreateType>(bound::CreateType{s.name, s.definition});
        }
        return {};
      },
      statement.node);
}

std::vector<BoundColumnDefinition> bind_column_definitions(const std::vector<ColumnDefinition>& columns) {
  std::vector<BoundColumnDefinition> bound;
  bound.reserve(columns.size());
  for (const ColumnDefinition& column : columns) {
    bound.push_back(BoundColumnDefinition{column.name, column.data_type, column.flag});
  }
  return bound;
}

Result<std::vector<std::uint32_t>> resolve_property_ids(std::span<const PropertyDef> properties,
                                                        const std::vector<std::string>& names) {
  std::vector<std::uint32_t> ids;
  ids.reserve(names.size());
  for (const std::string& name : names) {
    std::optional<std::size_t> position = property_index(properties, name);
    if (!position.has_value()) return Error::column_not_found(name);
    ids.push_back(static_cast<std::uint32_t>(*position));
  }
  return ids;
}

}  // namespace zelvo
