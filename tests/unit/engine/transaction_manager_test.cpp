#include "engine/transaction_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace zelvo {
namespace {

std::string display(const Status& status) { return status.ok() ? "ok" : status.error().display(); }

TEST(TransactionManagerTest, IdsAreSequentialAndCommitRecordsItsInstant) {
  TransactionManager manager;
  const auto first = manager.begin();
  EXPECT_EQ(debug_text(first->id()), "TransactionId(1)");
  EXPECT_EQ(first->state(), TransactionState::Active);
  ASSERT_TRUE(manager.rollback(*first).ok());

  const auto second = manager.begin();
  EXPECT_EQ(second->id(), TransactionId{2});
  EXPECT_FALSE(second->commit_instant().has_value());
  ASSERT_TRUE(manager.commit(*second).ok());
  EXPECT_EQ(second->state(), TransactionState::Committed);
  EXPECT_GE(second->commit_instant().value(), second->start_instant());
  EXPECT_EQ(manager.committed_count(), 1u);
}

TEST(TransactionManagerTest, ConflictingWritesFailTheCommitAndStrandIt) {
  TransactionManager manager;
  const auto first = manager.begin();
  const auto second = manager.begin();
  const auto disjoint = manager.begin();
  const auto empty = manager.begin();
  first->add_write({1, 2, 0});
  second->add_write({3, 3, 0});
  second->add_write({1, 2, 9});  // same keys, another tag: still a conflict
  disjoint->add_write({1, 3, 0});
  disjoint->add_write({2, 2, 0});

  EXPECT_TRUE(manager.commit(*empty).ok());
  EXPECT_EQ(display(manager.commit(*first)),
            "Transaction error: Write-write conflict detected with transaction TransactionId(2)");
  EXPECT_EQ(first->state(), TransactionState::Committing);
  // The failed one stays registered, so the other now fails against it.
  EXPECT_EQ(display(manager.commit(*second)),
            "Transaction error: Write-write conflict detected with transaction TransactionId(1)");
  // Rolling back from Committing unregisters it; a new writer of the same
  // keys then commits once the second has gone too.
  ASSERT_TRUE(manager.rollback(*first).ok());
  ASSERT_TRUE(manager.rollback(*second).ok());
  const auto third = manager.begin();
  third->add_write({1, 2, 0});
  EXPECT_TRUE(manager.commit(*third).ok());
  EXPECT_TRUE(manager.commit(*disjoint).ok());
}

TEST(TransactionManagerTest, InvalidTransitionsReportTheirMessages) {
  using Step = std::function<Status(TransactionManager&, Transaction&)>;
  const Step commit = [](TransactionManager& m, Transaction& t) { return m.commit(t); };
  const Step rollback = [](TransactionManager& m, Transaction& t) { return m.rollback(t); };
  const Step begin_commit = [](TransactionManager&, Transaction& t) { return t.begin_commit(); };
  const Step start_rollback = [](TransactionManager&, Transaction& t) { return t.mark_rolled_back(); };
  const std::string not_active = "Transaction error: Transaction is not active";
  const std::string wrong_state = "Transaction error: Cannot rollback transaction in current state";
  struct Case {
    Step setup;
    Step operation;
    std::string expected;
    TransactionState state_after;
  };
  const std::vector<Case> cases = {
      {commit, commit, not_active, TransactionState::Committed},
      {rollback, commit, not_active, TransactionState::RolledBack},
      {begin_commit, commit, not_active, TransactionState::Committing},
      {begin_commit, begin_commit, not_active, TransactionState::Committing},
      {commit, rollback, "Transaction error: Cannot rollback committed transaction", TransactionState::Committed},
      {rollback, rollback, wrong_state, TransactionState::RolledBack},
      {start_rollback, rollback, wrong_state, TransactionState::RollingBack},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    TransactionManager manager;
    const auto transaction = manager.begin();
    ASSERT_TRUE(cases[i].setup(manager, *transaction).ok());
    EXPECT_EQ(display(cases[i].operation(manager, *transaction)), cases[i].expected);
    EXPECT_EQ(transaction->state(), cases[i].state_after);
  }
}

TEST(TransactionManagerTest, RollbackClearsEveryLog) {
  TransactionManager manager;
  const auto transaction = manager.begin();
  transaction->add_write({1, 2, 3});
  transaction->add_undo(UndoRecord{InternalId{}, std::vector<Value>{Value::int64(7)}, std::nullopt});
  transaction->add_second_log_record(UndoRecord{InternalId{TableId{1}, Offset{2}}, std::nullopt, std::vector<Value>{}});
  ASSERT_EQ(transaction->undo_log_size(), 1u);
  ASSERT_EQ(transaction->second_log_size(), 1u);
  ASSERT_EQ(transaction->write_set_snapshot(), (std::vector<WriteSetEntry>{{1, 2, 3}}));
  ASSERT_TRUE(manager.rollback(*transaction).ok());
  EXPECT_TRUE(transaction->write_set_snapshot().empty());
  EXPECT_EQ(transaction->undo_log_size(), 0u);
  EXPECT_EQ(transaction->second_log_size(), 0u);
}

// Threads begin, commit and roll back at once: the ids are exactly 1..N.
TEST(TransactionManagerTest, ConcurrentBeginsGiveUniqueIds) {
  constexpr int kThreads = 8;
  constexpr int kPerThread = 500;
  TransactionManager manager;
  std::vector<std::vector<std::uint64_t>> ids(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&manager, &ids, t] {
      for (int i = 0; i < kPerThread; ++i) {
        const auto transaction = manager.begin();
        transaction->add_write({static_cast<std::uint64_t>(t), static_cast<std::uint64_t>(i), 0});
        ids[static_cast<std::size_t>(t)].push_back(transaction->id().value);
        EXPECT_TRUE((i % 2 == 0 ? manager.commit(*transaction) : manager.rollback(*transaction)).ok());
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  std::vector<std::uint64_t> all;
  for (const auto& some : ids) all.insert(all.end(), some.begin(), some.end());
  std::sort(all.begin(), all.end());
  for (std::size_t i = 0; i < all.size(); ++i) ASSERT_EQ(all[i], i + 1);
  EXPECT_EQ(all.size(), std::size_t{kThreads * kPerThread});
  EXPECT_EQ(manager.committed_count(), std::uint64_t{kThreads * kPerThread / 2});
}

}  // namespace
}  // namespace zelvo
