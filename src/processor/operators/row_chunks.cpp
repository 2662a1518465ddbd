#include "processor/operators/row_chunks.h"

#include "common/vector.h"
#include "processor/cell_reading.h"

namespace zelvo {

namespace {

// Builds the chunk column by column; `row_at(i)` gives the logical row of
// output row i.
template <typename RowAt>
DataChunk gather_rows(const DataChunk& chunk, std::uint64_t count, RowAt row_at) {
  std::vector<Vector> vectors;
  vectors.reserve(chunk.vectors().size());
  for (const Vector& column : chunk.vectors()) {
    std::vector<Value> values;
    values.reserve(static_cast<std::size_t>(count));
    for (std::uint64_t i = 0; i < count; ++i) values.push_back(read_cell(column, physical_row(chunk, row_at(i))));
    vectors.push_back(Vector::from_values(column.data_type(), std::move(values)));
  }
  return DataChunk::from_vectors(std::move(vectors), count);
}

}  // namespace

DataChunk select_rows(const DataChunk& chunk, std::span<const std::uint64_t> rows) {
  return gather_rows(chunk, rows.size(), [rows](std::uint64_t i) { return rows[static_cast<std::size_t>(i)]; });
}

DataChunk slice_rows(const DataChunk& chunk, std::uint64_t first, std::uint64_t count) {
  return gather_rows(chunk, count, [first](std::uint64_t i) { return first + i; });
}

DataChunk single_row_chunk(std::vector<Value> values, const std::vector<LogicalType>& types) {
  std::vector<Vector> vectors;
  vectors.reserve(types.size());
  for (std::size_t i = 0; i < types.size(); ++i) {
    std::vector<Value> column;
    if (i < values.size())
      column.push_back(std::move(values[i]));
    else
      column.emplace_back();
    vectors.push_back(Vector::from_values(types[i], std::move(column)));
  }
  return DataChunk::from_vectors(std::move(vectors), 1);
}

DataChunk count_chunk(std::uint64_t count) {
  DataChunk chunk(std::vector<LogicalType>{LogicalType(LogicalTypeKind::Int64)});
  const Value row[] = {Value::int64(static_cast<std::int64_t>(count))};
  chunk.append_row(row);
  return chunk;
}

}  // namespace zelvo
