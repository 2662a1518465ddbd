#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/data_chunk.h"
#include "common/error.h"
#include "processor/physical_operator.h"

namespace zelvo::testing {

// A leaf operator for tests: yields the chosen chunks in order, then the
// chosen error (if any), then the end. Counts its inits and pulls.
class ChunkSource final : public PhysicalOperator {
 public:
  explicit ChunkSource(std::vector<DataChunk> chunks) : chunks_(std::move(chunks)) {}
  ChunkSource(std::vector<DataChunk> chunks, Error error) : chunks_(std::move(chunks)), error_(std::move(error)) {}

  int inits = 0;
  int pulls = 0;

 private:
  Status do_init() override {
    position_ = 0;
    ++inits;
    return {};
  }
  Result<std::optional<DataChunk>> do_next_chunk() override {
    ++pulls;
    if (position_ < chunks_.size()) return chunks_[position_++];
    if (error_) return *error_;
    return std::nullopt;
  }
  Status do_reset() override { return do_init(); }

  std::vector<DataChunk> chunks_;
  std::optional<Error> error_;
  std::size_t position_ = 0;
};

// A chunk of Int64 columns: one row per entry, one column per row element.
DataChunk int_rows(const std::vector<std::vector<std::int64_t>>& rows);
// A chunk of Any columns in the Values form: any value reads back as itself.
DataChunk value_rows(const std::vector<std::vector<Value>>& rows);

// A short text of a row: Int64 as its number, Null as null, other values as
// their debug text, separated by ",".
std::string row_text(const std::vector<Value>& row);

// Every chunk of an operator after init, each as its rows' texts separated
// by " ", then the error's display text if a pull failed.
std::vector<std::string> drain(PhysicalOperator& op);

}  // namespace zelvo::testing
