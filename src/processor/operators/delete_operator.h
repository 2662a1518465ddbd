#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "processor/physical_operator.h"

namespace zelvo {

// DELETE: drains its input and answers one chunk with one Int64 column and
// one row, the number of input rows. Nothing is deleted: storage holds no
// rows.
class DeleteOperator final : public PhysicalOperator {
 public:
  DeleteOperator(std::vector<std::string> variables, OperatorPtr child, bool detach)
      : variables_(std::move(variables)), child_(std::move(child)), detach_(detach) {}

  const std::vector<std::string>& variables() const { return variables_; }
  bool detach() const { return detach_; }

 private:
  Status do_init() override;
  Result<std::optional<DataChunk>> do_next_chunk() override;
  Status do_reset() override { return do_init(); }

  std::vector<std::string> variables_;
  OperatorPtr child_;
  std::uint64_t count_ = 0;
  bool detach_;
  bool done_ = false;
};

}  // namespace zelvo
