#include "engine/database.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zelvo {
namespace {

namespace fs = std::filesystem;

std::string display(const Status& status) { return status.ok() ? "ok" : status.error().display(); }

// A fresh directory per test, removed afterwards.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "zelvo-db-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempDir() { fs::remove_all(path_); }
  std::string operator/(const std::string& name) const { return (fs::path(path_) / name).string(); }

 private:
  std::string path_;
};

std::string answer(const StatementResult& result) {
  if (result.is_error()) return result.error().display();
  if (result.is_message()) return result.message();
  return "rows: " + std::to_string(result.rows().row_count());
}

TEST(Database, OpenCreatesMissingDirectoriesAndAcceptsExistingPaths) {
  TempDir dir;
  const std::string nested = dir / "a/b/c";
  auto opened = Database::open(nested, DatabaseConfig::default_config());
  ASSERT_TRUE(opened.ok());
  EXPECT_TRUE(fs::is_directory(nested));
  EXPECT_EQ((*opened)->path(), nested);
  EXPECT_TRUE((*opened)->checkpoint().ok());

  const std::string file = dir / "file";
  std::ofstream(file) << "x";
  EXPECT_TRUE(Database::open(file, DatabaseConfig::default_config()).ok());

  auto below_file = Database::open(file + "/db", DatabaseConfig::default_config());
  ASSERT_FALSE(below_file.ok());
  EXPECT_EQ(below_file.error().display(),
            "Storage error: Failed to create database directory: Not a directory (os error 20)");

  EXPECT_FALSE(Database::in_memory()->path().has_value());
  EXPECT_GE(DatabaseConfig::default_config().thread_count, 1U);
}

TEST(Database, ConnectionsShareOneCatalogAndOutliveTheHandle) {
  TempDir dir;
  auto first = std::move(Database::open(dir / "db", DatabaseConfig::default_config())).value();
  auto second = std::move(Database::open(dir / "db", DatabaseConfig::default_config())).value();
  auto a = first->connect();
  auto b = first->connect();
  auto other = second->connect();

  EXPECT_EQ(answer(a->execute("CREATE NODE TABLE Person(name STRING, PRIMARY KEY(name))")),
            "Created node table 'Person'");
  EXPECT_EQ(answer(b->execute("CALL show_tables")), "rows: 1");
  // Two databases on one path are independent.
  EXPECT_EQ(answer(other->execute("CALL show_tables")), "rows: 0");

  first.reset();
  EXPECT_EQ(answer(b->execute("MATCH (p:Person) RETURN p.name")), "rows: 0");
  EXPECT_EQ(answer(b->execute("MATCH (p:Nope) RETURN p")), "Table not found: Nope");
}

TEST(Connection, ExecuteMultiStopsAtTheFirstErrorAndKeepsEarlierEffects) {
  auto database = Database::in_memory();
  auto connection = database->connect();

  auto results = connection->execute_multi(
      "CREATE NODE TABLE A(x INT64, PRIMARY KEY(x)); RETURN nope; CREATE NODE TABLE B(x INT64, PRIMARY KEY(x))");
  ASSERT_FALSE(results.ok());
  EXPECT_EQ(results.error().display(), "Binder error: Unknown variable: nope");
  EXPECT_EQ(answer(connection->execute("CALL show_node_tables")), "rows: 1");

  auto empty = connection->execute_multi(" ; ;\n ");
  ASSERT_TRUE(empty.ok());
  EXPECT_TRUE(empty->empty());

  auto two = connection->execute_multi("BEGIN TRANSACTION; CALL show_tables;");
  ASSERT_TRUE(two.ok());
  ASSERT_EQ(two->size(), 2U);
  EXPECT_EQ(answer((*two)[0]), "Transaction started");
  EXPECT_FALSE(connection->in_transaction());
}

TEST(SplitStatements, CutsOnlyAtSeparatingSemicolonsAndTrimsUnicodeSpace) {
  const struct {
    std::string script;
    std::vector<std::string> pieces;
  } cases[] = {
      {"CREATE NODE TABLE T(a INT64); ;\n MATCH (n) RETURN n ;",
       {"CREATE NODE TABLE T(a INT64)", "MATCH (n) RETURN n"}},
      {"RETURN 'a;b'; RETURN \"c;\"", {"RETURN 'a;b'", "RETURN \"c;\""}},
      {"MATCH (`x;y`) RETURN 1; RETURN 2", {"MATCH (`x;y`) RETURN 1", "RETURN 2"}},
      {"RETURN 1 // a; comment\n; RETURN 2 /* ; */", {"RETURN 1 // a; comment", "RETURN 2 /* ; */"}},
      {"RETURN 'unterminated; RETURN 2", {"RETURN 'unterminated; RETURN 2"}},
      {"\xc2\xa0RETURN 1\xe3\x80\x80;\t\xe2\x80\xa8", {"RETURN 1"}},
      {"", {}},
      {";;;", {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> pieces;
    for (std::string_view piece : split_statements(c.script)) pieces.emplace_back(piece);
    EXPECT_EQ(pieces, c.pieces) << c.script;
  }
}

TEST(Connection, TransactionStateMachine) {
  auto database = Database::in_memory();
  auto first = database->connect();
  auto second = database->connect();

  EXPECT_EQ(display(first->commit_transaction()), "Transaction error: No transaction in progress");
  EXPECT_EQ(display(first->rollback_transaction()), "Transaction error: No transaction in progress");
  ASSERT_TRUE(first->begin_transaction().ok());
  EXPECT_TRUE(first->in_transaction());
  EXPECT_EQ(display(first->begin_transaction()), "Transaction error: Transaction already in progress");
  EXPECT_TRUE(second->begin_transaction().ok());
  EXPECT_EQ(debug_text(first->current_transaction()->id()), "TransactionId(1)");
  EXPECT_TRUE(first->commit_transaction().ok());
  EXPECT_FALSE(first->in_transaction());
  EXPECT_TRUE(second->rollback_transaction().ok());
  // Statements only answer; they leave the connection's transaction alone.
  EXPECT_EQ(answer(first->execute("COMMIT")), "Transaction committed");
  EXPECT_FALSE(first->in_transaction());
}

TEST(Connection, AFailedCommitLeavesNoStrandedTransaction) {
  auto database = Database::in_memory();
  auto first = database->connect();
  auto second = database->connect();
  ASSERT_TRUE(first->begin_transaction().ok());
  ASSERT_TRUE(second->begin_transaction().ok());
  first->current_transaction()->add_write({7, 7, 0});
  second->current_transaction()->add_write({7, 7, 1});

  EXPECT_EQ(display(first->commit_transaction()),
            "Transaction error: Write-write conflict detected with transaction TransactionId(2)");
  EXPECT_FALSE(first->in_transaction());
  EXPECT_EQ(display(first->commit_transaction()), "Transaction error: No transaction in progress");
  // The failed transaction left the registry, so it no longer blocks others.
  EXPECT_TRUE(second->commit_transaction().ok());
}

TEST(Connection, DroppingItRollsBackItsOpenTransactionAndNothingElse) {
  auto manager = std::make_shared<TransactionManager>();
  auto make = [&manager] {
    return std::make_unique<Connection>(std::make_shared<Catalog>(), Storage::in_memory(), manager);
  };
  // Another connection's open transaction, with a write that a stranded
  // transaction writing the same key would make fail at commit.
  auto kept = make();
  ASSERT_TRUE(kept->begin_transaction().ok());
  kept->current_transaction()->add_write({7, 7, 0});

  enum class Before { Nothing, Begin, BeginAndWrite, BeginAndCommit, BeginAndRollback };
  const struct {
    const char* name;
    Before before;
    TransactionState left;  // of the dropped connection's last transaction
  } cases[] = {
      {"no transaction", Before::Nothing, TransactionState::Active},
      {"open", Before::Begin, TransactionState::RolledBack},
      {"open with a conflicting write", Before::BeginAndWrite, TransactionState::RolledBack},
      {"committed", Before::BeginAndCommit, TransactionState::Committed},
      {"rolled back", Before::BeginAndRollback, TransactionState::RolledBack},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto dropped = make();
    std::shared_ptr<Transaction> transaction;
    if (c.before != Before::Nothing) {
      ASSERT_TRUE(dropped->begin_transaction().ok());
      transaction = dropped->current_transaction();
      EXPECT_EQ(manager->registered_count(), 2U);
    }
    if (c.before == Before::BeginAndWrite) transaction->add_write({7, 7, 1});
    if (c.before == Before::BeginAndCommit) {
      ASSERT_TRUE(dropped->commit_transaction().ok());
    }
    if (c.before == Before::BeginAndRollback) {
      ASSERT_TRUE(dropped->rollback_transaction().ok());
    }
    dropped.reset();
    EXPECT_EQ(manager->registered_count(), 1U);
    EXPECT_EQ(transaction == nullptr ? TransactionState::Active : transaction->state(), c.left);
    EXPECT_EQ(kept->current_transaction()->state(), TransactionState::Active);
  }
  EXPECT_EQ(manager->committed_count(), 1U);
  // Nothing stranded conflicts with the kept transaction's write.
  EXPECT_TRUE(kept->commit_transaction().ok());
  EXPECT_EQ(manager->registered_count(), 0U);
}

}  // namespace
}  // namespace zelvo
