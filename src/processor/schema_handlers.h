#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "binder/bound_schema.h"
#include "catalog/catalog.h"
#include "common/ids.h"
#include "processor/result.h"

namespace zelvo {

// CREATE NODE TABLE: "Created node table '<name>'", or the catalog's error.
StatementResult create_node_table(Catalog& catalog, const std::string& name,
                                  const std::vector<BoundColumnDefinition>& columns, const std::string& primary_key);

// CREATE REL TABLE: "Created relationship table '<name>'", or the catalog's error.
StatementResult create_rel_table(Catalog& catalog, const std::string& name,
                                 const std::vector<BoundColumnDefinition>& columns, TableId from_table_id,
                                 TableId to_table_id);

// DROP TABLE: node tables first, then relationship tables.
StatementResult drop_table(Catalog& catalog, const std::string& name, bool if_exists);

// ALTER TABLE: the message describing the action; nothing changes.
std::string alter_table_result(const BoundAlterAction& action);

// DROP SEQUENCE: the message; nothing changes.
std::string drop_sequence_result(std::string_view name);

}  // namespace zelvo
