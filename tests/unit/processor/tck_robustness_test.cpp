#include <gtest/gtest.h>

#include "processor/executor.h"
#include "support/tck_corpus.h"

namespace zelvo {
namespace {

// Every query of the corpus answers rows, a message or a clean error: no
// crash and no exception, whatever the statement.
TEST(TckRobustness, EveryQueryAnswersCleanly) {
  std::vector<testing::TckQuery> corpus;
  ASSERT_TRUE(testing::load_tck_corpus(corpus));
  ASSERT_FALSE(corpus.empty());
  Executor executor(std::make_shared<Catalog>(), Storage::in_memory());
  std::size_t answered = 0;
  for (const testing::TckQuery& entry : corpus) {
    EXPECT_NO_THROW({
      const StatementResult result = executor.execute_statement(entry.query);
      if (result.is_query()) (void)result.rows().rows();
      if (!result.is_error()) ++answered;
    }) << entry.file
       << ": " << entry.query;
  }
  EXPECT_GT(answered, 0U);
}

}  // namespace
}  // namespace zelvo
