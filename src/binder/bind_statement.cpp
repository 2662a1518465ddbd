#include <type_traits>

#include "binder/binder.h"

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

Result<BoundStatement> bind_create_index(const Catalog& catalog, const Statement::CreateIndex& s) {
  ZELVO_ASSIGN_OR_RETURN(std::shared_ptr<const NodeTableEntry> table, lookup_node_table(catalog, s.table));
  ZELVO_ASSIGN_OR_RETURN(std::vector<std::uint32_t> property_ids, resolve_property_ids(table->properties, s.columns));
  return BoundStatement{bound::CreateIndex{s.name, table->table_id, std::move(property_ids), s.unique}};
}

Result<BoundStatement> bind_alter_table(const Catalog& catalog, const Statement::AlterTable& s) {
  ZELVO_ASSIGN_OR_RETURN(std::shared_ptr<const NodeTableEntry> table, lookup_node_table(catalog, s.table));
  ZELVO_ASSIGN_OR_RETURN(BoundAlterAction action, bind_alter_action(*table, s.action));
  return BoundStatement{bound::AlterTable{table->table_id, std::move(action)}};
}

// COPY carries the first character option and the flag.
template <typename BoundCopy, typename Copy>
Result<BoundStatement> bind_copy(const Catalog& catalog, const Copy& s) {
  ZELVO_ASSIGN_OR_RETURN(TableId table_id, lookup_node_table_id(catalog, s.table));
  return BoundStatement{BoundCopy{table_id, s.path, s.options.char_options[0], s.options.flag_option}};
}

Result<Box<BoundStatement>> bind_inner_statement(const std::shared_ptr<Catalog>& catalog,
                                                 const std::unique_ptr<Statement>& inner) {
  ZELVO_CHECK(inner != nullptr, "statement without its inner statement");
  ZELVO_ASSIGN_OR_RETURN(BoundStatement bound, bind_statement(catalog, *inner));
  return Box<BoundStatement>(std::move(bound));
}

}  // namespace

Result<BoundStatement> bind_statement(const std::shared_ptr<Catalog>& catalog_handle, const Statement& statement) {
  ZELVO_CHECK(catalog_handle != nullptr, "binding without a catalog");
  const Catalog& catalog = *catalog_handle;
  const Scope empty_scope;
  using S = Statement;
  return std::visit(
      [&](const auto& s) -> Result<BoundStatement> {
        using T = std::decay_t<decltype(s)>;
        if constexpr (std::is_same_v<T, S::Query>) {
          ZELVO_ASSIGN_OR_RETURN(BoundQuery query, bind_query(catalog, s.query));
          return BoundStatement{bound::Query{std::move(query)}};
        } else if constexpr (std::is_same_v<T, S::CreateNodeTable>) {
          return BoundStatement{bound::CreateNodeTable{s.name, bind_column_definitions(s.columns), s.primary_key}};
        } else if constexpr (std::is_same_v<T, S::CreateRelTable>) {
          ZELVO_ASSIGN_OR_RETURN(TableId from, lookup_node_table_id(catalog, s.from_table));
          ZELVO_ASSIGN_OR_RETURN(TableId to, lookup_node_table_id(catalog, s.to_table));
          return BoundStatement{bound::CreateRelTable{s.name, bind_column_definitions(s.columns), from, to}};
        } else if constexpr (std::is_same_v<T, S::DropTable>) {
          if (!s.if_exists && !catalog.table_exists(s.name)) return Error::table_not_found(s.name);
          return BoundStatement{bound::DropTable{s.name, s.if_exists}};
        } else if constexpr (std::is_same_v<T, S::BeginTransaction>) {
          return BoundStatement{bound::BeginTransaction{s.read_only}};
        } else if constexpr (std::is_same_v<T, S::Commit>) {
          return BoundStatement{bound::Commit{}};
        } else if constexpr (std::is_same_v<T, S::Rollback>) {
          return BoundStatement{bound::Rollback{}};
        } else if constexpr (std::is_same_v<T, S::CreateIndex>) {
          return bind_create_index(catalog, s);
        } else if constexpr (std::is_same_v<T, S::DropIndex>) {
          return BoundStatement{bound::DropIndex{s.name}};
        } else if constexpr (std::is_same_v<T, S::CopyFrom>) {
          return bind_copy<bound::CopyFrom>(catalog, s);
        } else if constexpr (std::is_same_v<T, S::CopyTo>) {
          return bind_copy<bound::CopyTo>(catalog, s);
        } else if constexpr (std::is_same_v<T, S::Call>) {
          ZELVO_ASSIGN_OR_RETURN(std::vector<BoundExpression> args, bind_expression_list(catalog, s.args, empty_scope));
          return BoundStatement{bound::Call{s.name, std::move(args)}};
        } else if constexpr (std::is_same_v<T, S::Set>) {
          ZELVO_ASSIGN_OR_RETURN(BoundExpression value, bind_expression(catalog, s.value, empty_scope));
          return BoundStatement{bound::Set{s.name, std::move(value)}};
        } else if constexpr (std::is_same_v<T, S::Explain>) {
          ZELVO_ASSIGN_OR_RETURN(Box<BoundStatement> inner, bind_inner_statement(catalog_handle, s.statement));
          return BoundStatement{bound::Explain{std::move(inner), s.analyze, s.logical}};
        } else if constexpr (std::is_same_v<T, S::Profile>) {
          ZELVO_ASSIGN_OR_RETURN(Box<BoundStatement> inner, bind_inner_statement(catalog_handle, s.statement));
          return BoundStatement{bound::Profile{std::move(inner)}};
        } else if constexpr (std::is_same_v<T, S::LoadFrom>) {
          return BoundStatement{bound::LoadFrom{s.path, s.format}};
        } else if constexpr (std::is_same_v<T, S::AlterTable>) {
          return bind_alter_table(catalog, s);
        } else if constexpr (std::is_same_v<T, S::CreateSequence>) {
          return BoundStatement{bound::CreateSequence{s.name, s.start.value_or(1), s.increment.value_or(1), s.min_value,
                                                      s.max_value, s.cycle}};
        } else if constexpr (std::is_same_v<T, S::DropSequence>) {
          return BoundStatement{bound::DropSequence{s.name, s.if_exists}};
        } else if constexpr (std::is_same_v<T, S::Attach>) {
          return BoundStatement{bound::Attach{s.path, s.alias}};
        } else if constexpr (std::is_same_v<T, S::Detach>) {
          return BoundStatement{bound::Detach{s.name}};
        } else if constexpr (std::is_same_v<T, S::Use>) {
          return BoundStatement{bound::Use{s.name}};
        } else if constexpr (std::is_same_v<T, S::ExportDatabase>) {
          return BoundStatement{bound::ExportDatabase{s.path}};
        } else if constexpr (std::is_same_v<T, S::ImportDatabase>) {
          return BoundStatement{bound::ImportDatabase{s.path}};
        } else if constexpr (std::is_same_v<T, S::CreateMacro>) {
          // The body is bound as a statement of its own: the parameters are
          // not in its scope.
          ZELVO_ASSIGN_OR_RETURN(Box<BoundStatement> body, bind_inner_statement(catalog_handle, s.body));
          return BoundStatement{bound::CreateMacro{s.name, s.parameters, std::move(body)}};
        } else {
          static_assert(std::is_same_v<T, S::CreateType>);
          return BoundStatement{bound::CreateType{s.name, s.definition}};
        }
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
