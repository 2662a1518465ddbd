#pragma once

#include "py_ref.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "convert.h"
#include "processor/result.h"

namespace zelvo::python {

// The rows of a QueryResult as the engine answered them, still in their
// chunks. Rows are converted anew on every access, straight from the
// chunks: nothing is copied up front. Immutable once made, so a result and
// its iterators share it.
class QueryResultData {
 public:
  // Where a row is: its chunk and its row within that chunk.
  struct RowPosition {
    std::size_t chunk = 0;
    std::uint64_t row = 0;
  };

  explicit QueryResultData(ChunkedResult rows);

  // No columns and no rows: what a message result shows.
  static const std::shared_ptr<const QueryResultData>& none();

  const std::vector<std::string>& columns() const { return rows_.columns(); }
  std::uint64_t row_count() const { return rows_.row_count(); }

  // The position of the first row; past the end when there are no rows.
  RowPosition first() const { return skip_empty_chunks({}); }
  // The position of the row after `position`.
  RowPosition next(RowPosition position) const { return skip_empty_chunks({position.chunk, position.row + 1}); }
  // Whether `position` names a row.
  bool holds(RowPosition position) const { return position.chunk < rows_.chunks().size(); }
  // The position of row `index`, which must be below row_count().
  RowPosition locate(std::uint64_t index) const;

  // The row at `position` as a dict from column name (the keys of `dicts`,
  // one per column) to converted value; Null where the row's chunk has no
  // vector for the column. Empty with the Python error set on failure.
  PyRef row_to_dict(const RowDicts& dicts, RowPosition position) const;
  // Every row as a dict, in row order.
  PyRef rows_to_dict_list(const RowDicts& dicts) const;

 private:
  // `position`, or the first row of the next chunk that has rows.
  RowPosition skip_empty_chunks(RowPosition position) const;

  ChunkedResult rows_;
  // The number of rows up to the end of each chunk, for finding a row by
  // index; only made when there are two chunks or more.
  std::vector<std::uint64_t> chunk_ends_;
};

}  // namespace zelvo::python
