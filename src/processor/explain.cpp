#include "processor/explain.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "common/debug_writer.h"
#include "processor/executor.h"
#include "processor/operator_builder.h"
#include "processor/operator_driver.h"

namespace zelvo {

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  const auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start);
  return static_cast<double>(elapsed.count()) / 1e9;
}

std::string fixed_text(double value, int decimals) {
  const int length = std::snprintf(nullptr, 0, "%.*f", decimals, value);
  std::string text(static_cast<std::size_t>(length), '\0');
  std::snprintf(text.data(), text.size() + 1, "%.*f", decimals, value);
  return text;
}

// The longest plan text EXPLAIN answers. The pretty text indents each level
// of a plan once more, so its size grows with the square of the plan's
// depth: a statement of a few tens of kilobytes could otherwise ask for
// gigabytes. Writing stops as soon as the text passes the bound.
constexpr std::size_t kMaxPlanText = std::size_t{16} << 20;

// The heading, then the plan's pretty debug text, written into one string
// (room for a typical plan is made up front).
Result<std::string> headed_plan_text(std::string_view heading, const LogicalPlan& plan) {
  constexpr std::size_t kTypicalPlanText = 1024;
  std::string text;
  text.reserve(kTypicalPlanText);
  text += heading;
  const DebugWriter::Stop stop = append_debug_text(text, plan, DebugWriter::Style::Pretty, kMaxPlanText);
  if (stop == DebugWriter::Stop::None) return text;
  if (stop == DebugWriter::Stop::Limit) {
    return Error::execution("Plan text is too large: more than " + std::to_string(kMaxPlanText >> 20) + " MiB");
  }
  return Error::execution(stack_stop_text(stop));
}

Result<PlannedQuery> plan_optimized(const Executor& executor, BoundQuery&& query) {
  ZELVO_ASSIGN_OR_RETURN(PlannedQuery planned, executor.planner().plan_query(std::move(query)));
  return executor.optimizer().optimize(std::move(planned));
}

// Builds and drives the operator tree as a query does, counting its rows.
// The operators take the plan's parts over: it is not used afterwards.
Result<std::uint64_t> run_counting_rows(LogicalPlan&& plan) {
  ZELVO_ASSIGN_OR_RETURN(const OperatorPtr root, build_operator_tree(std::move(plan)));
  return count_query_rows(*root);
}

// A result of one row: one column per (name, value) pair.
StatementResult one_row_table(std::vector<std::string> names, std::vector<Value> row) {
  std::vector<LogicalType> types;
  types.reserve(row.size());
  for (const Value& value : row) types.push_back(value.logical_type());
  DataChunk chunk(types);
  chunk.append_moved_row(row);
  ChunkedResult result(std::move(names));
  result.add_chunk(std::move(chunk));
  return result;
}

Result<std::string> analyzed_plan_text(const Executor& executor, BoundQuery&& query) {
  ZELVO_ASSIGN_OR_RETURN(PlannedQuery optimized, plan_optimized(executor, std::move(query)));
  ZELVO_ASSIGN_OR_RETURN(std::string text, headed_plan_text("Physical Plan:\n", *optimized.plan));
  const Clock::time_point start = Clock::now();
  ZELVO_ASSIGN_OR_RETURN(const std::uint64_t rows, run_counting_rows(std::move(*optimized.plan)));
  const double seconds = seconds_since(start);
  const double rows_per_second = seconds > 0 ? static_cast<double>(rows) / seconds : 0.0;
  text += "\n\nExecution Statistics:\n  Rows: " + std::to_string(rows);
  text += "\n  Time: " + fixed_text(seconds * 1000.0, 3);
  text += " ms\n  Rows/sec: " + fixed_text(rows_per_second, 0);
  return text;
}

Result<std::string> plan_text(const Executor& executor, BoundQuery&& query, bool logical, bool analyze) {
  if (analyze) return analyzed_plan_text(executor, std::move(query));
  if (logical) {
    ZELVO_ASSIGN_OR_RETURN(const PlannedQuery planned, executor.planner().plan_query(std::move(query)));
    return headed_plan_text("Logical Plan:\n", *planned.plan);
  }
  // The heading says physical; the text is the optimized logical plan.
  ZELVO_ASSIGN_OR_RETURN(const PlannedQuery optimized, plan_optimized(executor, std::move(query)));
  return headed_plan_text("Physical Plan:\n", *optimized.plan);
}

}  // namespace

StatementResult explain_statement(const Executor& executor, BoundStatement& statement, bool logical, bool analyze) {
  auto* query = std::get_if<bound::Query>(&statement.node);
  if (query == nullptr) return std::string("EXPLAIN only supports query statements");
  ZELVO_ASSIGN_OR_RETURN(std::string text, plan_text(executor, std::move(query->query), logical, analyze));
  return one_row_table({"Plan"}, {Value::string(std::move(text))});
}

StatementResult profile_statement(const Executor& executor, BoundStatement& statement) {
  const Clock::time_point start = Clock::now();
  auto* query = std::get_if<bound::Query>(&statement.node);
  if (query == nullptr) return std::string("PROFILE only supports query statements");
  ZELVO_ASSIGN_OR_RETURN(PlannedQuery optimized, plan_optimized(executor, std::move(query->query)));
  ZELVO_ASSIGN_OR_RETURN(const std::uint64_t rows, run_counting_rows(std::move(*optimized.plan)));
  const double milliseconds = seconds_since(start) * 1000.0;
  return one_row_table({"rows", "time_ms"},
                       {Value::int64(static_cast<std::int64_t>(rows)), Value::float64(milliseconds)});
}

}  // namespace zelvo
