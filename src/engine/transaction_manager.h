#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <shared_mutex>
#include <unordered_map>

#include "common/hasher.h"
#include "common/result.h"
#include "engine/transaction.h"

namespace zelvo {

// Hands out transactions and keeps the registry of live ones: a transaction
// is registered from begin until a successful commit or rollback. Shared by
// all connections of a database; every operation is thread-safe.
//
// Lock order: a caller's own locks first, then the registry; a transaction's
// state lock and its own write-set mutex are never held while the registry
// lock is taken.
class TransactionManager {
 public:
  TransactionManager();
  TransactionManager(const TransactionManager&) = delete;
  TransactionManager& operator=(const TransactionManager&) = delete;

  // A new Active transaction with the next id, registered.
  std::shared_ptr<Transaction> begin();

  // Active -> Committing -> Committed, then unregistered. Fails with
  // Error::Transaction when the transaction is not Active, or when a write
  // of it conflicts with a write of any other registered transaction; a
  // conflict leaves it registered in state Committing.
  Status commit(Transaction& transaction);

  // Active or Committing -> RollingBack -> RolledBack, clearing the logs,
  // then unregistered. Fails with Error::Transaction from other states.
  Status rollback(Transaction& transaction);

  // The number of successful commits.
  std::uint64_t committed_count() const { return committed_count_.load(); }
  // The number of registered transactions (begun and neither committed nor
  // rolled back); for tests and diagnostics.
  std::size_t registered_count() const;

 private:
  struct IdHash {
    std::uint64_t seed;
    std::size_t operator()(TransactionId id) const noexcept {
      Hasher hasher(seed);
      hasher.write_u64(id.value);
      return static_cast<std::size_t>(hasher.finish());
    }
  };
  using Registry = std::unordered_map<TransactionId, std::shared_ptr<Transaction>, IdHash>;

  // The id of a registered transaction other than `committing` whose write
  // set shares an entry with `own`, if any.
  std::optional<TransactionId> find_conflict(const Transaction& committing,
                                             const std::vector<WriteSetEntry>& own) const;
  void unregister(TransactionId id);

  mutable std::shared_mutex registry_mutex_;
  Registry transactions_;
  std::atomic<std::uint64_t> next_id_{1};
  std::atomic<std::uint64_t> committed_count_{0};
};

}  // namespace zelvo
