#include "engine/transaction_manager.h"

#include <algorithm>
#include <mutex>
#include <utility>

namespace zelvo {

namespace {

using WriteKey = std::pair<std::uint64_t, std::uint64_t>;

// The conflict keys of a write set, sorted for binary search: checking
// another write set costs O(m log n) instead of O(m n).
std::vector<WriteKey> sorted_keys(const std::vector<WriteSetEntry>& writes) {
  std::vector<WriteKey> keys;
  keys.reserve(writes.size());
  for (const WriteSetEntry& entry : writes) keys.emplace_back(entry.key_a, entry.key_b);
  std::sort(keys.begin(), keys.end());
  return keys;
}

}  // namespace

TransactionManager::TransactionManager() : transactions_(0, IdHash{fresh_random_seed()}) {}

std::shared_ptr<Transaction> TransactionManager::begin() {
  const TransactionId id{next_id_.fetch_add(1)};
  auto transaction = std::make_shared<Transaction>(id, TransactionClock::now());
  std::unique_lock lock(registry_mutex_);
  transactions_.emplace(id, transaction);
  return transaction;
}

Status TransactionManager::commit(Transaction& transaction) {
  if (transaction.state() != TransactionState::Active) return Error::transaction("Transaction is not active");
  ZELVO_TRY(transaction.begin_commit());
  const std::vector<WriteSetEntry> own = transaction.write_set_snapshot();
  if (const std::optional<TransactionId> other = find_conflict(transaction, own)) {
    return Error::transaction("Write-write conflict detected with transaction " + debug_text(*other));
  }
  transaction.mark_committed();
  unregister(transaction.id());
  committed_count_.fetch_add(1);
  return {};
}

std::optional<TransactionId> TransactionManager::find_conflict(const Transaction& committing,
                                                               const std::vector<WriteSetEntry>& own) const {
  // Nothing written, nothing to conflict with: skip the walk.
  if (own.empty()) return std::nullopt;
  const std::vector<WriteKey> keys = sorted_keys(own);
  std::shared_lock lock(registry_mutex_);
  for (const auto& [id, other] : transactions_) {
    if (id == committing.id()) continue;
    // Each other write set is read under its own mutex, one at a time.
    const bool conflict = other->any_write([&keys](const WriteSetEntry& entry) {
      return std::binary_search(keys.begin(), keys.end(), WriteKey{entry.key_a, entry.key_b});
    });
    if (conflict) return id;
  }
  return std::nullopt;
}

Status TransactionManager::rollback(Transaction& transaction) {
  if (transaction.state() == TransactionState::Committed) {
    return Error::transaction("Cannot rollback committed transaction");
  }
  ZELVO_TRY(transaction.mark_rolled_back());
  transaction.clear_logs();
  transaction.finish_rollback();
  unregister(transaction.id());
  return {};
}

std::size_t TransactionManager::registered_count() const {
  std::shared_lock lock(registry_mutex_);
  return transactions_.size();
}

void TransactionManager::unregister(TransactionId id) {
  std::shared_ptr<Transaction> removed;
  {
    std::unique_lock lock(registry_mutex_);
    const auto found = transactions_.find(id);
    if (found == transactions_.end()) return;
    removed = std::move(found->second);
    transactions_.erase(found);
  }
  // The registry's reference is dropped here, outside the lock.
}

}  // namespace zelvo
