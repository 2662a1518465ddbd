#pragma once

#include <memory>
#include <optional>
#include <shared_mutex>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "common/result.h"
#include "engine/connection.h"
#include "engine/database_config.h"
#include "engine/transaction_manager.h"
#include "storage/storage.h"

namespace zelvo {

// The engine's handle on one database: the catalog, the storage and the
// transaction manager that all its connections share. Nothing is read from
// or written to the database directory; dropping the handle flushes nothing.
class Database {
 public:
  // Opens (creating the directory and its missing parents when the path
  // does not exist) a database at `path`, taken unchanged.
  static Result<std::unique_ptr<Database>> open(std::string path, DatabaseConfig config);
  static std::unique_ptr<Database> in_memory();

  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // A new connection, also noted in the database's list of connections. The
  // list holds weak references: a connection lives as long as its callers
  // keep it, and the entries of dropped ones are pruned as new ones come.
  std::shared_ptr<Connection> connect();
  Status checkpoint();

  // The directory given to open; absent for an in-memory database.
  const std::optional<std::string>& path() const { return path_; }
  const DatabaseConfig& config() const { return config_; }

 private:
  Database(std::optional<std::string> path, DatabaseConfig config, std::shared_ptr<Storage> storage);

  std::optional<std::string> path_;
  DatabaseConfig config_;
  std::shared_ptr<Catalog> catalog_;
  std::shared_ptr<Storage> storage_;
  std::shared_ptr<TransactionManager> txn_manager_;
  std::shared_mutex connections_mutex_;  // guards connections_ and prune_at_
  std::vector<std::weak_ptr<Connection>> connections_;
  // The list's length at which connect next drops the expired entries: twice
  // the length left by the last pruning, so connect stays amortised O(1).
  std::size_t prune_at_;
};

}  // namespace zelvo
