#pragma once

#include <cstdint>

#include "processor/physical_operator.h"

namespace zelvo {

// SKIP and LIMIT over the input's rows: the first `offset` rows are not
// handed on, and no more than `limit` rows are. A chunk that straddles either
// boundary is cut to the rows inside. Once the limit is reached the input
// is no longer pulled.
class LimitOperator final : public PhysicalOperator {
 public:
  LimitOperator(OperatorPtr child, std::uint64_t limit, std::uint64_t offset)
      : child_(std::move(child)), limit_(limit), offset_(offset) {}

 private:
  Status do_init() override;
  Result<std::optional<DataChunk>> do_next_chunk() override;
  Status do_reset() override { return do_init(); }

  OperatorPtr child_;
  std::uint64_t limit_;
  std::uint64_t offset_;
  std::uint64_t returned_ = 0;
  std::uint64_t skipped_ = 0;
};

}  // namespace zelvo
