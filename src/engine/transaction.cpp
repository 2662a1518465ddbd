#include "engine/transaction.h"

#include <utility>

namespace zelvo {

std::optional<TransactionClock::time_point> Transaction::commit_instant() const {
  std::lock_guard lock(commit_instant_mutex_);
  return commit_instant_;
}

TransactionState Transaction::state() const {
  std::shared_lock lock(state_mutex_);
  return state_;
}

void Transaction::set_state(TransactionState state) {
  std::unique_lock lock(state_mutex_);
  state_ = state;
}

void Transaction::add_write(WriteSetEntry entry) {
  std::lock_guard lock(write_set_mutex_);
  write_set_.push_back(entry);
}

void Transaction::add_undo(UndoRecord record) {
  std::lock_guard lock(undo_log_mutex_);
  undo_log_.push_back(std::move(record));
}

void Transaction::add_second_log_record(UndoRecord record) {
  std::lock_guard lock(second_log_mutex_);
  second_log_.push_back(std::move(record));
}

std::vector<WriteSetEntry> Transaction::write_set_snapshot() const {
  std::lock_guard lock(write_set_mutex_);
  return write_set_;
}

std::size_t Transaction::undo_log_size() const {
  std::lock_guard lock(undo_log_mutex_);
  return undo_log_.size();
}

std::size_t Transaction::second_log_size() const {
  std::lock_guard lock(second_log_mutex_);
  return second_log_.size();
}

Status Transaction::begin_commit() {
  std::unique_lock lock(state_mutex_);
  if (state_ != TransactionState::Active) return Error::transaction("Transaction is not active");
  state_ = TransactionState::Committing;
  return {};
}

void Transaction::mark_committed() {
  set_state(TransactionState::Committed);
  const TransactionClock::time_point now = TransactionClock::now();
  std::lock_guard lock(commit_instant_mutex_);
  commit_instant_ = now;
}

Status Transaction::mark_rolled_back() {
  std::unique_lock lock(state_mutex_);
  if (state_ != TransactionState::Active && state_ != TransactionState::Committing) {
    return Error::transaction("Cannot rollback transaction in current state");
  }
  state_ = TransactionState::RollingBack;
  return {};
}

void Transaction::finish_rollback() { set_state(TransactionState::RolledBack); }

void Transaction::clear_logs() {
  {
    std::lock_guard lock(undo_log_mutex_);
    undo_log_.clear();
  }
  {
    std::lock_guard lock(second_log_mutex_);
    second_log_.clear();
  }
  std::lock_guard lock(write_set_mutex_);
  write_set_.clear();
}

}  // namespace zelvo
