#include "processor/result.h"

#include "processor/cell_reading.h"

namespace zelvo {

void ChunkedResult::add_chunk(DataChunk&& chunk) {
  row_count_ += chunk.count();
  chunks_.push_back(std::move(chunk));
}

void ChunkedResult::append_row(const DataChunk& chunk, std::uint64_t local_row, Row& out) const {
  out.reserve(columns_.size());
  const std::vector<Vector>& vectors = chunk.vectors();
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    out.push_back(c < vectors.size() ? read_cell(vectors[c], local_row) : Value::null());
  }
}

std::vector<ChunkedResult::Row> ChunkedResult::collect_result_rows(std::uint64_t first) const {
  std::vector<Row> rows;
  if (first >= row_count_) return rows;
  rows.reserve(static_cast<std::size_t>(row_count_ - first));
  std::uint64_t before = 0;  // rows in the chunks before the current one
  for (const DataChunk& chunk : chunks_) {
    const std::uint64_t count = chunk.count();
    const std::uint64_t start = first > before ? first - before : 0;
    for (std::uint64_t local = start; local < count; ++local) {
      Row& row = rows.emplace_back();
      append_row(chunk, local, row);
    }
    before += count;
  }
  return rows;
}

ChunkedResult::Row ChunkedResult::row(std::uint64_t index) const {
  Row out;
  std::uint64_t before = 0;
  for (const DataChunk& chunk : chunks_) {
    if (index >= before && index - before < chunk.count()) {
      append_row(chunk, index - before, out);
      return out;
    }
    before += chunk.count();
  }
  out.assign(columns_.size(), Value::null());
  return out;
}

}  // namespace zelvo
