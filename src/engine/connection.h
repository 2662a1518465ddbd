#pragma once

#include <memory>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog.h"
#include "common/result.h"
#include "engine/transaction_manager.h"
#include "processor/executor.h"
#include "processor/result.h"
#include "storage/storage.h"

namespace zelvo {

// Runs statements against one database. Holds its own references to the
// database's shared parts (the catalog and storage through its executor),
// so it stays usable after the database handle is dropped. Statements run
// outside the connection's transaction: the transaction methods only drive
// the transaction manager.
class Connection {
 public:
  Connection(std::shared_ptr<Catalog> catalog, std::shared_ptr<Storage> storage,
             std::shared_ptr<TransactionManager> txn_manager);
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  // Rolls back a transaction left open, so that it leaves the manager's
  // registry (and later commits' conflict checks) with the connection.
  ~Connection();

  // One statement; the answer carries rows, a message or the error.
  StatementResult execute(std::string_view text);
  // A script of statements separated by semicolons, run in order; the first
  // failing statement's error ends it (earlier statements keep their effects).
  Result<std::vector<StatementResult>> execute_multi(std::string_view script);

  Status begin_transaction();
  Status commit_transaction();
  Status rollback_transaction();
  bool in_transaction() const;
  // The open transaction, or null.
  std::shared_ptr<Transaction> current_transaction() const;

 private:
  Executor executor_;
  std::shared_ptr<TransactionManager> txn_manager_;
  mutable std::shared_mutex mutex_;  // guards current_
  std::shared_ptr<Transaction> current_;
};

// The statements of a script: the text cut at every semicolon that
// separates statements (not those inside strings, quoted names or
// comments), each piece trimmed of Unicode white space, empty pieces dropped.
std::vector<std::string_view> split_statements(std::string_view script);

}  // namespace zelvo
