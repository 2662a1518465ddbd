#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "common/logical_type.h"

namespace zelvo {

// One column of CREATE NODE TABLE, CREATE REL TABLE or ALTER TABLE ADD.
struct BoundColumnDefinition {
  std::string name;
  LogicalType data_type;
  bool flag = true;
};

// The action of ALTER TABLE with its column resolved to a property id.
struct BoundAlterAction {
  struct AddColumn {
    std::string name;
    LogicalType data_type;
    bool flag = true;
  };
  struct DropColumn {
    std::uint32_t property_id = 0;
  };
  struct RenameColumn {
    std::uint32_t property_id = 0;
    std::string new_name;
  };
  struct RenameTable {
    std::string new_name;
  };
  std::variant<AddColumn, DropColumn, RenameColumn, RenameTable> action;
};

}  // namespace zelvo
