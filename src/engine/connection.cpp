#include "engine/connection.h"

#include <mutex>

#include "common/stack_guard.h"

namespace zelvo {

Connection::Connection(std::shared_ptr<Catalog> catalog, std::shared_ptr<Storage> storage,
                       std::shared_ptr<TransactionManager> txn_manager)
    : executor_(std::move(catalog), std::move(storage)), txn_manager_(std::move(txn_manager)) {}

Connection::~Connection() {
  // The last reference is going, so no other thread uses the connection and
  // current_ needs no lock. A destructor cannot report a failed rollback,
  // and nothing may escape it: the Status is dropped, and an exception (an
  // allocation failure or a broken invariant) ends here.
  if (current_ == nullptr) return;
  try {
    (void)txn_manager_->rollback(*current_);
  } catch (...) {  // NOLINT(bugprone-empty-catch): see above
  }
}

StatementResult Connection::execute(std::string_view text) { return executor_.execute_statement(text); }

Result<std::vector<StatementResult>> Connection::execute_multi(std::string_view script) {
  const EngineEntry entry;  // the script's frame, for every statement in it
  std::vector<StatementResult> results;
  for (std::string_view statement : split_statements(script)) {
    StatementResult result = executor_.execute_statement(statement);
    if (result.is_error()) return result.take_error();
    results.push_back(std::move(result));
  }
  return results;
}

Status Connection::begin_transaction() {
  std::unique_lock lock(mutex_);
  if (current_ != nullptr) return Error::transaction("Transaction already in progress");
  current_ = txn_manager_->begin();
  return {};
}

Status Connection::commit_transaction() {
  std::unique_lock lock(mutex_);
  std::shared_ptr<Transaction> transaction = std::move(current_);
  current_ = nullptr;
  if (transaction == nullptr) return Error::transaction("No transaction in progress");
  Status committed = txn_manager_->commit(*transaction);
  if (!committed.ok()) {
    // A failed commit would leave the transaction registered (in state
    // Committing), where its writes would make every later commit of another
    // transaction fail. The connection has given it up, so roll it back out
    // of the registry; the caller still gets the commit's error.
    (void)txn_manager_->rollback(*transaction);
  }
  return committed;
}

Status Connection::rollback_transaction() {
  std::unique_lock lock(mutex_);
  std::shared_ptr<Transaction> transaction = std::move(current_);
  current_ = nullptr;
  if (transaction == nullptr) return Error::transaction("No transaction in progress");
  return txn_manager_->rollback(*transaction);
}

bool Connection::in_transaction() const {
  std::shared_lock lock(mutex_);
  return current_ != nullptr;
}

std::shared_ptr<Transaction> Connection::current_transaction() const {
  std::shared_lock lock(mutex_);
  return current_;
}

}  // namespace zelvo
