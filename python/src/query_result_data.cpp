#include "query_result_data.h"

#include <algorithm>

#include "common/invariant.h"
#include "processor/cell_reading.h"

namespace zelvo::python {

QueryResultData::QueryResultData(ChunkedResult rows) : rows_(std::move(rows)) {
  const std::vector<DataChunk>& chunks = rows_.chunks();
  if (chunks.size() < 2) return;
  chunk_ends_.reserve(chunks.size());
  std::uint64_t end = 0;
  for (const DataChunk& chunk : chunks) {
    end += chunk.count();
    chunk_ends_.push_back(end);
  }
}

const std::shared_ptr<const QueryResultData>& QueryResultData::none() {
  static const auto empty = std::make_shared<const QueryResultData>(ChunkedResult(std::vector<std::string>{}));
  return empty;
}

QueryResultData::RowPosition QueryResultData::skip_empty_chunks(RowPosition position) const {
  const std::vector<DataChunk>& chunks = rows_.chunks();
  while (position.chunk < chunks.size() && position.row >= chunks[position.chunk].count()) {
    ++position.chunk;
    position.row = 0;
  }
  return position;
}

QueryResultData::RowPosition QueryResultData::locate(std::uint64_t index) const {
  ZELVO_CHECK(index < row_count(), "row index past the end");
  if (chunk_ends_.empty()) return {0, index};
  // The first chunk that ends past the index holds it.
  const auto end = std::upper_bound(chunk_ends_.begin(), chunk_ends_.end(), index);
  const auto chunk = static_cast<std::size_t>(end - chunk_ends_.begin());
  const std::uint64_t before = chunk == 0 ? 0 : chunk_ends_[chunk - 1];
  return {chunk, index - before};
}

PyRef QueryResultData::row_to_dict(const RowDicts& dicts, RowPosition position) const {
  const std::vector<Vector>& vectors = rows_.chunks()[position.chunk].vectors();
  Value scratch;
  return dicts.make([&](std::size_t column) -> const Value& {
    if (column >= vectors.size()) {
      scratch = Value::null();
      return scratch;
    }
    return peek_cell(vectors[column], position.row, scratch);
  });
}

PyRef QueryResultData::rows_to_dict_list(const RowDicts& dicts) const {
  PyRef list = PyRef::steal(PyList_New(static_cast<Py_ssize_t>(row_count())));
  if (!list) return {};
  Py_ssize_t index = 0;
  for (RowPosition position = first(); holds(position); position = next(position)) {
    PyRef dict = row_to_dict(dicts, position);
    if (!dict) return {};
    PyList_SET_ITEM(list.get(), index++, dict.release());
  }
  return list;
}

}  // namespace zelvo::python
