#pragma once

#include <chrono>
#include <compare>
#include <cstdint>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <vector>

#include "common/debug_writer.h"
#include "common/ids.h"
#include "common/result.h"
#include "common/value.h"

namespace zelvo {

using TransactionClock = std::chrono::steady_clock;

// The number of one transaction; handed out from 1 upwards, never reused.
struct TransactionId {
  std::uint64_t value = 0;

  friend auto operator<=>(const TransactionId&, const TransactionId&) = default;
  void describe(DebugWriter& w) const { w.tuple("TransactionId").item(value).finish(); }
};

enum class TransactionState : std::uint8_t {
  Active = 0,
  Committed = 1,
  RolledBack = 2,
  Committing = 3,
  RollingBack = 4,
};

// One write of a transaction. Two writes conflict when both keys are equal;
// the tag takes no part.
struct WriteSetEntry {
  std::uint64_t key_a = 0;
  std::uint64_t key_b = 0;
  std::uint8_t tag = 0;

  bool conflicts_with(const WriteSetEntry& other) const { return key_a == other.key_a && key_b == other.key_b; }
  friend bool operator==(const WriteSetEntry&, const WriteSetEntry&) = default;
};

// One change a rollback would undo: the row it touched and its values
// before and after, when known.
struct UndoRecord {
  InternalId target;
  std::optional<std::vector<Value>> old_values;
  std::optional<std::vector<Value>> new_values;
};

// One transaction, always held through std::shared_ptr. Its state sits
// behind a reader-writer lock and each of its three logs (the undo log, the
// second log, which holds records of the same kind, and the write set)
// behind its own mutex; no method holds two of these locks at once. The
// TransactionManager drives the state changes; nothing else in the engine
// writes to the logs yet.
class Transaction {
 public:
  Transaction(TransactionId id, TransactionClock::time_point start_instant)
      : start_instant_(start_instant), id_(id) {}
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  TransactionId id() const { return id_; }
  TransactionClock::time_point start_instant() const { return start_instant_; }
  // Absent until the commit has succeeded.
  std::optional<TransactionClock::time_point> commit_instant() const;
  TransactionState state() const;
  bool is_read_write() const { return read_write_; }

  void add_write(WriteSetEntry entry);
  void add_undo(UndoRecord record);
  void add_second_log_record(UndoRecord record);
  // A copy of the write set, taken under its mutex.
  std::vector<WriteSetEntry> write_set_snapshot() const;
  std::size_t undo_log_size() const;
  std::size_t second_log_size() const;

  // Calls `visit(entry)` for each write, under the write set's mutex; stops
  // at the first call that returns true and reports whether one did.
  template <typename Visit>
  bool any_write(Visit&& visit) const {
    std::lock_guard lock(write_set_mutex_);
    for (const WriteSetEntry& entry : write_set_) {
      if (visit(entry)) return true;
    }
    return false;
  }

  // Active -> Committing; fails with "Transaction is not active" otherwise.
  Status begin_commit();
  // -> Committed, and records the commit instant.
  void mark_committed();
  // Active or Committing -> RollingBack; fails otherwise.
  Status mark_rolled_back();
  // RollingBack -> RolledBack, the end of a rollback.
  void finish_rollback();
  // Empties the undo log, then the second log, then the write set.
  void clear_logs();

 private:
  void set_state(TransactionState state);

  const TransactionClock::time_point start_instant_;
  const TransactionId id_;
  mutable std::shared_mutex state_mutex_;
  TransactionState state_ = TransactionState::Active;
  mutable std::mutex commit_instant_mutex_;
  std::optional<TransactionClock::time_point> commit_instant_;
  mutable std::mutex undo_log_mutex_;
  std::vector<UndoRecord> undo_log_;
  mutable std::mutex second_log_mutex_;
  std::vector<UndoRecord> second_log_;
  mutable std::mutex write_set_mutex_;
  std::vector<WriteSetEntry> write_set_;
  const bool read_write_ = true;
};

}  // namespace zelvo
