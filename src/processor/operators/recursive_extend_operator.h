#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/ids.h"
#include "planner/logical_plan.h"
#include "processor/physical_operator.h"

namespace zelvo {

// Variable-length expansion. Storage holds no relationships, so no path is
// followed: the operator drains its input and hands out every input chunk
// that has rows once per hop count from min_hops to min(max_hops, 10), hop
// by hop in input order.
class RecursiveExtendOperator final : public PhysicalOperator {
 public:
  // The most hops a path is followed for.
  static constexpr std::uint32_t kHopCap = 10;

  struct Pattern {
    TableId rel_table_id;
    std::string src_variable;
    std::string dst_variable;
    std::optional<std::string> rel_variable;
    ExtendDirection direction = ExtendDirection::Forward;
  };

  RecursiveExtendOperator(OperatorPtr child, Pattern pattern, std::uint32_t min_hops, std::uint32_t max_hops)
      : child_(std::move(child)), pattern_(std::move(pattern)), min_hops_(min_hops), max_hops_(max_hops) {}

  const Pattern& pattern() const { return pattern_; }

 private:
  Status do_init() override;
  Result<std::optional<DataChunk>> do_next_chunk() override;
  Status do_reset() override { return do_init(); }

  Status drain_input();

  OperatorPtr child_;
  Pattern pattern_;
  std::uint32_t min_hops_;
  std::uint32_t max_hops_;
  std::vector<DataChunk> input_;  // the input chunks that have rows
  std::uint32_t rounds_ = 0;      // how many times each is handed out
  std::uint32_t round_ = 0;
  std::size_t position_ = 0;  // within input_
  bool started_ = false;
};

}  // namespace zelvo
