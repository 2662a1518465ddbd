#include "storage/storage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "storage/directory.h"
#include "support/repeat.h"
#include "support/thread_stack.h"

namespace zelvo {
namespace {

namespace fs = std::filesystem;

// Each test gets a fresh temporary directory with one regular file in it,
// removed afterwards.
class StorageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zelvo-storage-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    std::ofstream(root_ / "file") << "data";
  }
  void TearDown() override { fs::remove_all(root_); }

  Result<std::shared_ptr<Storage>> open(const std::string& relative) const {
    StorageConfig config;
    config.path = (root_ / relative).string();
    return Storage::open(std::move(config));
  }

  fs::path root_;
};

TEST_F(StorageTest, OpenCreatesMissingParentsUnderTheUmask) {
  const mode_t previous = ::umask(027);
  const Result<std::shared_ptr<Storage>> storage = open("a/b/c/");
  ::umask(previous);
  ASSERT_TRUE(storage.ok()) << storage.error().display();
  for (const char* dir : {"a", "a/b", "a/b/c"}) {
    struct stat status {};
    ASSERT_EQ(::stat((root_ / dir).c_str(), &status), 0) << dir;
    EXPECT_EQ(status.st_mode & (S_IFMT | 0777), S_IFDIR | 0750) << dir;
  }
  EXPECT_EQ((*storage)->config().path, (root_ / "a/b/c/").string());
  EXPECT_EQ((*storage)->config().buffer_pool_size, StorageConfig{}.buffer_pool_size);
}

TEST_F(StorageTest, OpenAcceptsExistingPathsAndReportsSystemErrors) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "ok"},
      {"file", "ok"},
      {"file/db", "IO error: Not a directory (os error 20)"},
      // A NUL byte would cut the path short; it is refused instead.
      {std::string("cut\0/db", 7), "IO error: Invalid argument (os error 22)"},
  };
  for (const auto& [path, expected] : cases) {
    SCOPED_TRACE(expected);
    const Result<std::shared_ptr<Storage>> storage = open(path);
    EXPECT_EQ(storage.ok() ? "ok" : storage.error().display(), expected);
  }
  EXPECT_TRUE(fs::is_regular_file(root_ / "file"));
  EXPECT_FALSE(fs::exists(root_ / "cut"));
}

TEST_F(StorageTest, CheckpointClearsDirtyFlagsAndWritesNothing) {
  const Result<std::shared_ptr<Storage>> storage = open("db");
  ASSERT_TRUE(storage.ok());
  EXPECT_TRUE((*storage)->checkpoint().ok());
  auto dirty = std::make_shared<PoolEntry>();
  dirty->mark_dirty();
  (*storage)->pool().insert(1, dirty);
  (*storage)->pool().insert(2, std::make_shared<PoolEntry>());
  EXPECT_TRUE((*storage)->checkpoint().ok());
  EXPECT_FALSE(dirty->is_dirty());
  EXPECT_TRUE(fs::is_empty(root_ / "db"));
  EXPECT_TRUE(Storage::in_memory()->checkpoint().ok());
}

TEST_F(StorageTest, CreateDirectoriesWalksPathsOfAnyDepthOnASmallStack) {
  const std::string deep = "deep" + testing::repeat("/d", 1500);
  const std::string not_a_directory = "IO error: Not a directory (os error 20)";
  const struct {
    std::string path;
    std::string expected;
    std::vector<std::string> made;
  } cases[] = {
      {deep, "ok", {"deep", "deep/d", deep}},
      // The parents are prefixes of the text: "a" is made before "a/../b".
      {"a/../b", "ok", {"a", "b"}},
      {"c//d//", "ok", {"c", "c/d"}},
      {"file/db", not_a_directory, {}},
      {"file/x/y", not_a_directory, {}},
      // Longer than the system takes: refused at the first mkdir, nothing made.
      {"x" + testing::repeat("/x", 2100), "IO error: File name too long (os error 36)", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.substr(0, 40));
    std::string answer;
    testing::run_on_stack(128 * 1024, [&] {
      const Status created = create_directories((root_ / c.path).string());
      answer = created.ok() ? "ok" : created.error().display();
    });
    EXPECT_EQ(answer, c.expected);
    for (const std::string& dir : c.made) EXPECT_TRUE(fs::is_directory(root_ / dir)) << dir.substr(0, 40);
  }
  EXPECT_TRUE(fs::is_regular_file(root_ / "file"));
  EXPECT_FALSE(fs::exists(root_ / "x"));
  // Removed here from the bottom up: TearDown's walk would hold a directory
  // open per level.
  for (std::string dir = deep; dir != "deep"; dir.resize(dir.size() - 2)) {
    EXPECT_EQ(::rmdir((root_ / dir).c_str()), 0) << dir.size();
  }
}

}  // namespace
}  // namespace zelvo
