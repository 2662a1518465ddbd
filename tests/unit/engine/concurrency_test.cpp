#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "engine/database.h"

namespace zelvo {
namespace {

constexpr int kOwnThreads = 16;
constexpr int kSharingThreads = 4;
constexpr int kTablesPerThread = 30;
constexpr int kConnectionsPerThread = 1000;

std::string table_name(int thread, int k) { return "T" + std::to_string(thread) + "_" + std::to_string(k); }

// Threads with their own connections create, query and drop tables while
// others share one connection for queries and transactions. Nothing races
// (the ThreadSanitizer build checks), every statement answers as it would
// alone, and the catalog ends holding exactly the tables left undropped.
TEST(Concurrency, ConnectionsOnOneDatabaseKeepTheCatalogConsistent) {
  std::unique_ptr<Database> db = Database::in_memory();
  std::shared_ptr<Connection> shared = db->connect();
  std::atomic<int> failures{0};
  auto expect = [&](bool ok) {
    if (!ok) failures.fetch_add(1);
  };

  std::vector<std::thread> threads;
  for (int n = 0; n < kOwnThreads; ++n) {
    threads.emplace_back([&, n] {
      std::shared_ptr<Connection> conn = db->connect();
      for (int k = 0; k < kTablesPerThread; ++k) {
        const std::string name = table_name(n, k);
        StatementResult created = conn->execute("CREATE NODE TABLE " + name + "(id INT64, PRIMARY KEY(id))");
        expect(created.is_message() && created.message() == "Created node table '" + name + "'");
        StatementResult matched = conn->execute("MATCH (a:" + name + ") WHERE a.id > 1 RETURN a.id");
        expect(matched.is_query() && matched.rows().row_count() == 0);
        expect(conn->execute("CALL show_tables").is_query());
        if (k % 2 == 1) {
          StatementResult dropped = conn->execute("DROP TABLE " + name);
          expect(dropped.is_message() && dropped.message() == "Dropped node table '" + name + "'");
        }
      }
    });
  }
  for (int n = 0; n < kSharingThreads; ++n) {
    threads.emplace_back([&] {
      for (int k = 0; k < kTablesPerThread; ++k) {
        auto answers = shared->execute_multi("CALL show_tables; CALL db_schema; EXPLAIN MATCH (a) RETURN a");
        expect(answers.ok() && answers.value().size() == 3);
        // Another thread's transaction may be open; then begin fails cleanly.
        if (shared->begin_transaction().ok()) expect(shared->commit_transaction().ok());
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);

  std::vector<std::string> expected;
  for (int n = 0; n < kOwnThreads; ++n) {
    for (int k = 0; k < kTablesPerThread; k += 2) expected.push_back(table_name(n, k));
  }
  std::vector<std::string> listed;
  StatementResult tables = shared->execute("CALL show_tables");
  ASSERT_TRUE(tables.is_query());
  for (const auto& row : tables.rows().rows()) listed.push_back(row[0].as_string());
  std::sort(expected.begin(), expected.end());
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, expected);
  EXPECT_FALSE(shared->in_transaction());
}

// Threads make connections and drop them at once (some after a statement)
// while one connection stays live. The database keeps none of the dropped
// ones alive, and the live one answers before and after the database goes.
TEST(Concurrency, DroppedConnectionsAreReleased) {
  std::unique_ptr<Database> db = Database::in_memory();
  std::shared_ptr<Connection> live = db->connect();
  std::atomic<int> failures{0};
  std::atomic<int> still_alive{0};

  std::vector<std::thread> threads;
  for (int n = 0; n < kOwnThreads; ++n) {
    threads.emplace_back([&] {
      for (int k = 0; k < kConnectionsPerThread; ++k) {
        std::shared_ptr<Connection> conn = db->connect();
        if (k % 100 == 0 && !conn->execute("CALL show_tables").is_query()) failures.fetch_add(1);
        const std::weak_ptr<Connection> dropped = conn;
        conn.reset();
        if (!dropped.expired()) still_alive.fetch_add(1);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(still_alive.load(), 0);

  EXPECT_TRUE(live->execute("CALL show_tables").is_query());
  const std::weak_ptr<Connection> watched = live;
  db.reset();
  EXPECT_TRUE(live->execute("CALL show_tables").is_query());
  live.reset();
  EXPECT_TRUE(watched.expired());
}

}  // namespace
}  // namespace zelvo
