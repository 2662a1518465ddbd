#include "engine/database.h"

#include <algorithm>
#include <mutex>

#include "storage/directory.h"

namespace zelvo {

namespace {

// The shortest list worth pruning.
constexpr std::size_t kFirstPrune = 64;

}  // namespace

Database::Database(std::optional<std::string> path, DatabaseConfig config, std::shared_ptr<Storage> storage)
    : path_(std::move(path)),
      config_(config),
      catalog_(std::make_shared<Catalog>()),
      storage_(std::move(storage)),
      txn_manager_(std::make_shared<TransactionManager>()),
      prune_at_(kFirstPrune) {}

Result<std::unique_ptr<Database>> Database::open(std::string path, DatabaseConfig config) {
  if (!path_exists(path)) {
    Status created = create_directories(path);
    if (!created.ok()) {
      const Error& error = created.error();
      return Error::storage("Failed to create database directory: " + error.message() + " (os error " +
                            std::to_string(error.os_error()) + ")");
    }
  }
  StorageConfig storage_config = StorageConfig::default_config();
  storage_config.path = path;
  ZELVO_ASSIGN_OR_RETURN(std::shared_ptr<Storage> storage, Storage::open(std::move(storage_config)));
  return std::unique_ptr<Database>(new Database(std::move(path), config, std::move(storage)));
}

std::unique_ptr<Database> Database::in_memory() {
  return std::unique_ptr<Database>(new Database(std::nullopt, DatabaseConfig::default_config(), Storage::in_memory()));
}

std::shared_ptr<Connection> Database::connect() {
  // Not make_shared: that puts the connection in one block with the
  // reference counts, and the list's weak reference would hold the whole
  // block until the next pruning. Allocated apart, a connection's memory
  // goes back as soon as the last caller drops it; only the small block of
  // counts waits for the pruning.
  auto connection = std::shared_ptr<Connection>(new Connection(catalog_, storage_, txn_manager_));
  std::unique_lock lock(connections_mutex_);
  if (connections_.size() >= prune_at_) {
    // An expired entry's connection is gone; dropping the entry frees its
    // block of reference counts.
    std::erase_if(connections_, [](const std::weak_ptr<Connection>& entry) { return entry.expired(); });
    prune_at_ = std::max(kFirstPrune, 2 * connections_.size());
  }
  connections_.push_back(connection);
  return connection;
}

Status Database::checkpoint() { return storage_->checkpoint(); }

}  // namespace zelvo
