#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "binder/bound_expression.h"
#include "common/value.h"
#include "processor/physical_operator.h"

namespace zelvo {

// Groups all input rows by the group-by values (no group-by expressions:
// one group) and hands out one single-row chunk per group: the key values,
// then one value per aggregate. A group counts its rows; each aggregate
// keeps the sum, minimum and maximum of its Int64 and Float64 argument
// values (other kinds, Null included, are passed over). By function name
// (Unicode lower-cased): count (the group's rows), sum, avg (sum / rows),
// min, max; any other name gives Null. No input rows give no chunks at all.
class AggregateOperator final : public PhysicalOperator {
 public:
  AggregateOperator(std::vector<BoundExpression> group_by, std::vector<AggregateExpr> aggregates, OperatorPtr child);

 private:
  Status do_init() override;
  Result<std::optional<DataChunk>> do_next_chunk() override;
  Status do_reset() override { return do_init(); }

  enum class Function : std::uint8_t { Count, Sum, Avg, Min, Max, Unknown };

  struct Accumulator {
    std::optional<Value> min;
    std::optional<Value> max;
    double sum = 0.0;
  };
  struct GroupEntry {
    std::vector<Value> key;
    std::uint64_t count = 0;
    std::vector<Accumulator> accumulators;  // one per aggregate
  };

  Status consume(const DataChunk& chunk);
  GroupEntry& find_or_insert(std::vector<Value> key);
  void build_output();
  static Value aggregate_value(Function function, const GroupEntry& entry, const Accumulator& accumulator);

  std::vector<BoundExpression> group_by_;
  std::vector<AggregateExpr> aggregates_;
  std::vector<Function> functions_;  // one per aggregate
  OperatorPtr child_;
  std::uint64_t hash_seed_;
  std::vector<GroupEntry> groups_;                                   // in order of first appearance
  std::unordered_multimap<std::uint64_t, std::size_t> group_index_;  // key hash to position in groups_
  std::vector<DataChunk> output_;
  std::size_t output_position_ = 0;
  bool done_ = false;
};

}  // namespace zelvo
