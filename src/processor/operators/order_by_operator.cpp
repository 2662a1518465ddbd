#include "processor/operators/order_by_operator.h"

#include "processor/cell_reading.h"
#include "processor/evaluator.h"
#include "processor/operators/row_chunks.h"
#include "processor/operators/stable_merge_sort.h"

namespace zelvo {

namespace {

template <typename T>
int three_way(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

int compare_sort_keys(const Value& a, const Value& b) {
  if (a.kind() != b.kind()) return 0;
  switch (a.kind()) {
    case ValueKind::Int64: return three_way(a.as_int64(), b.as_int64());
    case ValueKind::Float64: return three_way(a.as_float64(), b.as_float64());  // NaN: neither is less
    case ValueKind::String: {
      const int order = a.as_string().compare(b.as_string());
      return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    default: return 0;
  }
}

}  // namespace

Status OrderByOperator::do_init() {
  buffered_.clear();
  position_ = 0;
  sorted_ = false;
  return child_->init();
}

Result<std::optional<DataChunk>> OrderByOperator::do_next_chunk() {
  if (!sorted_) ZELVO_TRY(sort_input());
  if (position_ >= buffered_.size()) return std::nullopt;
  // Each buffered chunk is handed out once; the driver never re-reads it.
  return std::move(buffered_[static_cast<std::size_t>(position_++)]);
}

Status OrderByOperator::sort_input() {
  std::vector<SortRow> rows;
  std::vector<std::vector<LogicalType>> types;  // one entry per input chunk
  while (true) {
    ZELVO_ASSIGN_OR_RETURN(std::optional<DataChunk> input, child_->next_chunk());
    if (!input) break;
    collect_rows(*input, rows, types);
  }
  stable_merge_sort(rows, [this](const SortRow& a, const SortRow& b) { return sorts_before(a, b); });
  buffered_.reserve(rows.size());
  for (SortRow& row : rows) buffered_.push_back(single_row_chunk(std::move(row.values), types[row.types_index]));
  sorted_ = true;
  return {};
}

void OrderByOperator::collect_rows(const DataChunk& chunk, std::vector<SortRow>& rows,
                                   std::vector<std::vector<LogicalType>>& types) {
  if (chunk.count() == 0) return;
  // A key that fails to evaluate sorts as Null; it does not end the sort.
  std::vector<std::optional<Vector>> keys;
  keys.reserve(order_items_.size());
  for (const BoundOrderItem& item : order_items_) {
    Result<Vector> key = evaluate(item.expression, chunk);
    keys.push_back(key.ok() ? std::optional<Vector>(std::move(key).value()) : std::nullopt);
  }
  types.push_back(chunk.types());
  for (std::uint64_t row = 0; row < chunk.count(); ++row) {
    SortRow& sort_row = rows.emplace_back();
    sort_row.keys.reserve(keys.size());
    for (const std::optional<Vector>& key : keys) sort_row.keys.push_back(key ? read_cell(*key, row) : Value::null());
    sort_row.values = read_row(chunk, row);
    sort_row.types_index = types.size() - 1;
  }
}

bool OrderByOperator::sorts_before(const SortRow& a, const SortRow& b) const {
  for (std::size_t i = 0; i < order_items_.size(); ++i) {
    const int order = compare_sort_keys(a.keys[i], b.keys[i]);
    if (order != 0) return order_items_[i].ascending ? order < 0 : order > 0;
  }
  return false;
}

}  // namespace zelvo
