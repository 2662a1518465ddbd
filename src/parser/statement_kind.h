#pragma once

#include <cstdint>

namespace zelvo {

// The 26 kinds of statement, in their fixed order. The parser's Statement,
// the binder's bound statement and the executor's dispatch share it.
enum class StatementKind : std::uint8_t {
  Query,
  CreateNodeTable,
  CreateRelTable,
  DropTable,
  BeginTransaction,
  Commit,
  Rollback,
  CreateIndex,
  DropIndex,
  CopyFrom,
  CopyTo,
  Call,
  Set,
  Explain,
  Profile,
  LoadFrom,
  AlterTable,
  CreateSequence,
  DropSequence,
  Attach,
  Detach,
  Use,
  ExportDatabase,
  ImportDatabase,
  CreateMacro,
  CreateType,
};

inline constexpr int kStatementKindCount = 26;

}  // namespace zelvo
