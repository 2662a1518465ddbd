#include "chunk_source.h"

#include "processor/cell_reading.h"

namespace zelvo::testing {

DataChunk int_rows(const std::vector<std::vector<std::int64_t>>& rows) {
  const std::size_t columns = rows.empty() ? 1 : rows.front().size();
  DataChunk chunk(std::vector<LogicalType>(columns, LogicalType(LogicalTypeKind::Int64)));
  for (const auto& row : rows) {
    std::vector<Value> values;
    for (const std::int64_t v : row) values.push_back(Value::int64(v));
    chunk.append_row(values);
  }
  return chunk;
}

DataChunk value_rows(const std::vector<std::vector<Value>>& rows) {
  std::vector<Vector> vectors;
  for (std::size_t c = 0; !rows.empty() && c < rows.front().size(); ++c) {
    std::vector<Value> column;
    for (const auto& row : rows) column.push_back(row[c]);
    vectors.push_back(Vector::from_values(LogicalType(LogicalTypeKind::Any), std::move(column)));
  }
  return DataChunk::from_vectors(std::move(vectors), rows.size());
}

std::string row_text(const std::vector<Value>& row) {
  std::string text;
  for (const Value& value : row) {
    if (!text.empty()) text += ',';
    if (value.is_null())
      text += "null";
    else if (value.kind() == ValueKind::Int64)
      text += std::to_string(value.as_int64());
    else
      text += debug_text(value);
  }
  return text;
}

std::vector<std::string> drain(PhysicalOperator& op) {
  std::vector<std::string> chunks;
  Status init = op.init();
  if (!init.ok()) return {init.error().display()};
  while (true) {
    Result<std::optional<DataChunk>> chunk = op.next_chunk();
    if (!chunk.ok()) {
      chunks.push_back(chunk.error().display());
      return chunks;
    }
    if (!chunk->has_value()) return chunks;
    std::string text;
    for (std::uint64_t row = 0; row < (*chunk)->count(); ++row) {
      if (row > 0) text += ' ';
      text += row_text(read_row(**chunk, row));
    }
    chunks.push_back(text);
  }
}

}  // namespace zelvo::testing
