#pragma once

#include <cstdint>
#include <vector>

#include "binder/bound_expression.h"
#include "processor/physical_operator.h"

namespace zelvo {

// Drains its input, sorts all rows stably by the order items and hands out
// each sorted row as a chunk of its own. Keys compare only Int64 with
// Int64, Float64 with Float64 (a NaN compares equal to everything) and
// String with String (bytes, then length); every other pair, Null
// included, compares equal. A key whose evaluation fails counts as Null.
class OrderByOperator final : public PhysicalOperator {
 public:
  OrderByOperator(std::vector<BoundOrderItem> order_items, OperatorPtr child)
      : order_items_(std::move(order_items)), child_(std::move(child)) {}

 private:
  Status do_init() override;
  Result<std::optional<DataChunk>> do_next_chunk() override;
  Status do_reset() override { return do_init(); }

  struct SortRow {
    std::vector<Value> keys;
    std::vector<Value> values;
    std::size_t types_index = 0;  // the column types of the row's input chunk
  };

  Status sort_input();
  void collect_rows(const DataChunk& chunk, std::vector<SortRow>& rows, std::vector<std::vector<LogicalType>>& types);
  bool sorts_before(const SortRow& a, const SortRow& b) const;

  std::vector<BoundOrderItem> order_items_;
  OperatorPtr child_;
  std::vector<DataChunk> buffered_;
  std::uint64_t position_ = 0;
  bool sorted_ = false;
};

}  // namespace zelvo
