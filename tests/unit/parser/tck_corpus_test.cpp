#include <gtest/gtest.h>

#include "parser/parser.h"
#include "support/tck_corpus.h"

namespace zelvo {
namespace {

// Every query of the corpus either parses or fails with a parser error.
TEST(TckCorpus, EveryQueryParsesOrFailsCleanly) {
  std::vector<testing::TckQuery> corpus;
  ASSERT_TRUE(testing::load_tck_corpus(corpus));
  ASSERT_EQ(corpus.size(), 2370u);
  std::size_t parsed = 0;
  for (const testing::TckQuery& entry : corpus) {
    const Result<Statement> result = Parser::parse(entry.query);
    if (result.ok()) {
      ++parsed;
    } else {
      EXPECT_EQ(result.error().kind(), ErrorKind::Parser) << entry.file << ": " << entry.query;
    }
  }
  // Most of the corpus is within the grammar.
  EXPECT_GT(parsed, corpus.size() / 2);
}

TEST(TckCorpus, LoaderReadsStringEscapes) {
  std::vector<testing::TckQuery> entries;
  ASSERT_TRUE(testing::parse_tck_corpus(
      R"([{"file": "a.feature", "query": "x\"\\\/\n\t\u00df\ud83c\udf4c", "other": "ignored"}, {"query": "y"}])",
      entries));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].file, "a.feature");
  EXPECT_EQ(entries[0].query, "x\"\\/\n\t\xC3\x9F\xF0\x9F\x8D\x8C");
  EXPECT_EQ(entries[1].query, "y");
  for (const char* malformed : {"", "[", R"([{"query": "x"})", R"([{"query": "\ud83c"}])", R"([{"query": 1}])",
                                R"([] x)"}) {
    std::vector<testing::TckQuery> ignored;
    EXPECT_FALSE(testing::parse_tck_corpus(malformed, ignored)) << malformed;
  }
}

}  // namespace
}  // namespace zelvo
