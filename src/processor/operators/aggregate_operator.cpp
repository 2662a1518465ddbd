#include "processor/operators/aggregate_operator.h"

#include <algorithm>

#include "common/hasher.h"
#include "common/unicode_case.h"
#include "processor/cell_reading.h"
#include "processor/evaluator.h"
#include "processor/operators/row_chunks.h"

namespace zelvo {

AggregateOperator::AggregateOperator(std::vector<BoundExpression> group_by, std::vector<AggregateExpr> aggregates,
                                     OperatorPtr child)
    : group_by_(std::move(group_by)),
      aggregates_(std::move(aggregates)),
      child_(std::move(child)),
      hash_seed_(fresh_random_seed()) {
  functions_.reserve(aggregates_.size());
  for (const AggregateExpr& aggregate : aggregates_) {
    const std::string name = unicode::to_lower(aggregate.function);
    Function function = Function::Unknown;
    if (name == "count") function = Function::Count;
    if (name == "sum") function = Function::Sum;
    if (name == "avg") function = Function::Avg;
    if (name == "min") function = Function::Min;
    if (name == "max") function = Function::Max;
    functions_.push_back(function);
  }
}

Status AggregateOperator::do_init() {
  groups_.clear();
  group_index_.clear();
  output_.clear();
  output_position_ = 0;
  done_ = false;
  return child_->init();
}

Result<std::optional<DataChunk>> AggregateOperator::do_next_chunk() {
  while (!done_) {
    ZELVO_ASSIGN_OR_RETURN(std::optional<DataChunk> input, child_->next_chunk());
    if (!input) {
      build_output();
      done_ = true;
      break;
    }
    ZELVO_TRY(consume(*input));
  }
  if (output_position_ >= output_.size()) return std::nullopt;
  return std::move(output_[output_position_++]);
}

Status AggregateOperator::consume(const DataChunk& chunk) {
  std::vector<Vector> keys;
  keys.reserve(group_by_.size());
  for (const BoundExpression& expression : group_by_) {
    ZELVO_ASSIGN_OR_RETURN(Vector vector, evaluate(expression, chunk));
    keys.push_back(std::move(vector));
  }
  if (chunk.count() == 0) return {};
  // Each aggregate argument is evaluated once per chunk.
  std::vector<std::optional<Vector>> args;
  args.reserve(aggregates_.size());
  for (const AggregateExpr& aggregate : aggregates_) {
    if (!aggregate.arg) {
      args.emplace_back();
      continue;
    }
    ZELVO_ASSIGN_OR_RETURN(Vector vector, evaluate(*aggregate.arg, chunk));
    args.emplace_back(std::move(vector));
  }

  for (std::uint64_t row = 0; row < chunk.count(); ++row) {
    std::vector<Value> key;
    key.reserve(keys.size());
    for (const Vector& vector : keys) key.push_back(read_cell(vector, row));
    GroupEntry& entry = find_or_insert(std::move(key));
    ++entry.count;
    for (std::size_t i = 0; i < args.size(); ++i) {
      if (!args[i]) continue;
      Value value = read_cell(*args[i], row);
      Accumulator& accumulator = entry.accumulators[i];
      if (value.kind() == ValueKind::Int64) {
        accumulator.sum += static_cast<double>(value.as_int64());
      } else if (value.kind() == ValueKind::Float64) {
        accumulator.sum += value.as_float64();
      } else {
        continue;  // other kinds, Null included, leave the accumulator alone
      }
      if (!accumulator.min || value.cmp(*accumulator.min) < 0) accumulator.min = value;
      if (!accumulator.max || value.cmp(*accumulator.max) > 0) accumulator.max = std::move(value);
    }
  }
  return {};
}

AggregateOperator::GroupEntry& AggregateOperator::find_or_insert(std::vector<Value> key) {
  Hasher hasher(hash_seed_);
  for (const Value& value : key) value.hash(hasher);
  const std::uint64_t hash = hasher.finish();
  const auto [first, last] = group_index_.equal_range(hash);
  for (auto it = first; it != last; ++it) {
    GroupEntry& entry = groups_[it->second];
    if (std::equal(entry.key.begin(), entry.key.end(), key.begin(), key.end(),
                   [](const Value& a, const Value& b) { return a.eq(b); })) {
      return entry;
    }
  }
  group_index_.emplace(hash, groups_.size());
  return groups_.emplace_back(GroupEntry{std::move(key), 0, std::vector<Accumulator>(aggregates_.size())});
}

Value AggregateOperator::aggregate_value(Function function, const GroupEntry& entry, const Accumulator& accumulator) {
  switch (function) {
    case Function::Count: return Value::int64(static_cast<std::int64_t>(entry.count));
    case Function::Sum: return Value::float64(accumulator.sum);
    case Function::Avg: return Value::float64(accumulator.sum / static_cast<double>(entry.count));
    case Function::Min: return accumulator.min.value_or(Value::null());
    case Function::Max: return accumulator.max.value_or(Value::null());
    case Function::Unknown: break;
  }
  return Value::null();
}

void AggregateOperator::build_output() {
  output_.reserve(groups_.size());
  for (GroupEntry& entry : groups_) {
    std::vector<Value> row = std::move(entry.key);
    for (std::size_t i = 0; i < functions_.size(); ++i) {
      row.push_back(aggregate_value(functions_[i], entry, entry.accumulators[i]));
    }
    std::vector<LogicalType> types;
    types.reserve(row.size());
    for (const Value& value : row) types.push_back(value.logical_type());
    output_.push_back(single_row_chunk(std::move(row), types));
  }
  groups_.clear();
  group_index_.clear();
}

}  // namespace zelvo
