#pragma once

#include "binder/bound_statement.h"
#include "processor/result.h"

namespace zelvo {

class Executor;

// EXPLAIN: one String column "Plan" holding one row, the plan text.
//   default   "Physical Plan:\n" and the optimized plan; nothing runs
//   LOGICAL   "Logical Plan:\n" and the plan before optimization
//   ANALYZE   (wins over LOGICAL) the optimized plan, then the query runs
//             and an "Execution Statistics" block follows: rows, time in
//             milliseconds with three decimals, whole rows per second
// A statement that is not a query answers the message
// "EXPLAIN only supports query statements". The query's parts move into its
// plan: the statement is left valid only for destruction.
StatementResult explain_statement(const Executor& executor, BoundStatement& statement, bool logical, bool analyze);

// PROFILE: runs the query and answers one row with the columns "rows"
// (Int64) and "time_ms" (Float64); the time covers planning, optimizing,
// building and running. A statement that is not a query answers the message
// "PROFILE only supports query statements". The query's parts move into its
// plan, as for EXPLAIN.
StatementResult profile_statement(const Executor& executor, BoundStatement& statement);

}  // namespace zelvo
