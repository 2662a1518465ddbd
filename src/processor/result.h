#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "common/data_chunk.h"
#include "common/error.h"
#include "common/value.h"

namespace zelvo {

// The materialised answer of a query, a CALL, EXPLAIN or PROFILE: column
// names and the data chunks in the order they were produced. The row count
// is the sum of the chunks' row counts. Chunks may hold fewer or more
// vectors than there are column names.
class ChunkedResult {
 public:
  using Row = std::vector<Value>;

  explicit ChunkedResult(std::vector<std::string> columns) : columns_(std::move(columns)) {}

  // Takes the chunk over and adds its row count.
  void add_chunk(DataChunk&& chunk);
  // Makes room for `chunks` chunks in all.
  void reserve(std::size_t chunks) { chunks_.reserve(chunks); }

  const std::vector<std::string>& columns() const { return columns_; }
  const std::vector<DataChunk>& chunks() const { return chunks_; }
  std::uint64_t row_count() const { return row_count_; }

  // Every row, in order: one value per column name (Null where a chunk has
  // no vector for the column).
  std::vector<Row> rows() const { return collect_result_rows(0); }
  // The rows from `first` to the last, in one pass over the chunks.
  std::vector<Row> collect_result_rows(std::uint64_t first) const;
  // One row by index; Nulls when no chunk holds it.
  Row row(std::uint64_t index) const;

 private:
  void append_row(const DataChunk& chunk, std::uint64_t local_row, Row& out) const;

  std::vector<std::string> columns_;
  std::vector<DataChunk> chunks_;
  std::uint64_t row_count_ = 0;
};

// The answer to one statement: rows, a message, or an error.
class StatementResult {
 public:
  StatementResult(ChunkedResult rows) : state_(std::move(rows)) {}  // NOLINT: implicit by design
  StatementResult(std::string message) : state_(std::move(message)) {}  // NOLINT
  StatementResult(Error error) : state_(std::move(error)) {}  // NOLINT

  bool is_query() const { return std::holds_alternative<ChunkedResult>(state_); }
  bool is_message() const { return std::holds_alternative<std::string>(state_); }
  bool is_error() const { return std::holds_alternative<Error>(state_); }

  const ChunkedResult& rows() const { return std::get<ChunkedResult>(state_); }
  ChunkedResult& rows() { return std::get<ChunkedResult>(state_); }
  const std::string& message() const { return std::get<std::string>(state_); }
  std::string&& take_message() { return std::get<std::string>(std::move(state_)); }
  const Error& error() const { return std::get<Error>(state_); }
  Error&& take_error() { return std::get<Error>(std::move(state_)); }

 private:
  std::variant<ChunkedResult, std::string, Error> state_;
};

}  // namespace zelvo
