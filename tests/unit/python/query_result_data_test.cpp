#include "query_result_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/invariant.h"
#include "python_test_support.h"

namespace zelvo::python {
namespace {

using testing::repr;
using testing::take_error;

// A chunk of `count` rows whose column "n" holds the numbers from `first`
// on; with `labels`, a second column "label" holds them (otherwise the
// chunk has no vector for it).
DataChunk numbered_chunk(std::int64_t first, std::uint64_t count, std::vector<std::string> labels = {}) {
  std::vector<Value> numbers;
  for (std::uint64_t i = 0; i < count; ++i) numbers.push_back(Value::int64(first + static_cast<std::int64_t>(i)));
  std::vector<Vector> vectors;
  vectors.push_back(Vector::from_values(LogicalType(LogicalTypeKind::Int64), std::move(numbers)));
  if (!labels.empty()) {
    std::vector<Value> texts;
    for (std::string& label : labels) texts.push_back(Value::string(std::move(label)));
    vectors.push_back(Vector::from_values(LogicalType(LogicalTypeKind::String), std::move(texts)));
  }
  return DataChunk::from_vectors(std::move(vectors), count);
}

// Rows spread over chunks with and without rows, one chunk short of a column.
QueryResultData spread_rows() {
  ChunkedResult rows({"n", "label"});
  rows.add_chunk(DataChunk(std::vector<LogicalType>{}));
  rows.add_chunk(numbered_chunk(0, 2, {"a", "b"}));
  rows.add_chunk(numbered_chunk(2, 0));
  rows.add_chunk(numbered_chunk(2, 1));
  rows.add_chunk(numbered_chunk(3, 3, {"c", "d", "e"}));
  rows.add_chunk(DataChunk(std::vector<LogicalType>{}));
  return QueryResultData(std::move(rows));
}

TEST(QueryResultData, RowsAreFoundAcrossChunksByIndexAndInOrder) {
  const QueryResultData data = spread_rows();
  const RowDicts dicts(data.columns());
  ASSERT_TRUE(dicts) << take_error();
  const std::vector<std::string> expected = {
      "{'n': 0, 'label': 'a'}", "{'n': 1, 'label': 'b'}", "{'n': 2, 'label': None}",
      "{'n': 3, 'label': 'c'}", "{'n': 4, 'label': 'd'}", "{'n': 5, 'label': 'e'}",
  };
  ASSERT_EQ(data.row_count(), expected.size());

  std::string all = "[";
  QueryResultData::RowPosition position = data.first();
  for (std::size_t index = 0; index < expected.size(); ++index) {
    ASSERT_TRUE(data.holds(position)) << index;
    const QueryResultData::RowPosition located = data.locate(index);
    EXPECT_EQ(located.chunk, position.chunk) << index;
    EXPECT_EQ(located.row, position.row) << index;
    EXPECT_EQ(repr(data.row_to_dict(dicts, located).get()), expected[index]);
    all += (index > 0 ? ", " : "") + expected[index];
    position = data.next(position);
  }
  EXPECT_FALSE(data.holds(position));
  EXPECT_EQ(repr(data.rows_to_dict_list(dicts).get()), all + "]");
}

TEST(QueryResultData, ResultsWithoutRows) {
  ChunkedResult empty_chunks({"n"});
  empty_chunks.add_chunk(numbered_chunk(0, 0));
  const QueryResultData with_empty_chunk(std::move(empty_chunks));
  for (const QueryResultData* data : {QueryResultData::none().get(), &with_empty_chunk}) {
    EXPECT_EQ(data->row_count(), 0U);
    EXPECT_FALSE(data->holds(data->first()));
    EXPECT_EQ(repr(data->rows_to_dict_list(RowDicts(data->columns())).get()), "[]");
    EXPECT_THROW((void)data->locate(0), InvariantError);
  }
}

}  // namespace
}  // namespace zelvo::python
