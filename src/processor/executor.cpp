#include "processor/executor.h"

#include <string>

#include "binder/binder.h"
#include "common/stack_guard.h"
#include "parser/parser.h"
#include "processor/explain.h"
#include "processor/operator_builder.h"
#include "processor/operator_driver.h"
#include "processor/procedures.h"
#include "processor/schema_handlers.h"
#include "processor/utility_handlers.h"

namespace zelvo {

namespace {

std::string quoted(std::string_view before, std::string_view name) {
  std::string text(before);
  text += '\'';
  text += name;
  text += '\'';
  return text;
}

// The answer to each kind of bound statement: a handler's answer, or a
// fixed message that changes nothing (no index, sequence, attached
// database, macro or type is recorded; transactions are the connection's
// business, not the statement's).
struct StatementDispatch {
  Executor& executor;
  Catalog& catalog;

  StatementResult operator()(bound::Query& s) const { return executor.execute_query(std::move(s.query)); }
  StatementResult operator()(const bound::CreateNodeTable& s) const {
    return create_node_table(catalog, s.name, s.columns, s.primary_key);
  }
  StatementResult operator()(const bound::CreateRelTable& s) const {
    return create_rel_table(catalog, s.name, s.columns, s.from_table_id, s.to_table_id);
  }
  StatementResult operator()(const bound::DropTable& s) const { return drop_table(catalog, s.name, s.if_exists); }
  StatementResult operator()(const bound::BeginTransaction& /*s*/) const { return std::string("Transaction started"); }
  StatementResult operator()(const bound::Commit& /*s*/) const { return std::string("Transaction committed"); }
  StatementResult operator()(const bound::Rollback& /*s*/) const { return std::string("Transaction rolled back"); }
  StatementResult operator()(const bound::CreateIndex& s) const { return quoted("Created index ", s.name); }
  StatementResult operator()(const bound::DropIndex& s) const { return quoted("Dropped index ", s.name); }
  StatementResult operator()(const bound::CopyFrom& s) const { return copy_from_result(s.path); }
  StatementResult operator()(const bound::CopyTo& s) const { return copy_to_result(s.path); }
  StatementResult operator()(const bound::Call& s) const {
    Result<ChunkedResult> rows = call_procedure(catalog, s.name, s.args);
    if (!rows.ok()) return std::move(rows).error();
    return std::move(rows).value();
  }
  StatementResult operator()(const bound::Set& s) const { return set_setting(s.name); }
  StatementResult operator()(bound::Explain& s) const {
    return explain_statement(executor, *s.statement, s.logical, s.analyze);
  }
  StatementResult operator()(bound::Profile& s) const { return profile_statement(executor, *s.statement); }
  StatementResult operator()(const bound::LoadFrom& s) const { return load_from_result(s.path, s.format); }
  StatementResult operator()(const bound::AlterTable& s) const { return alter_table_result(s.action); }
  StatementResult operator()(const bound::CreateSequence& s) const { return quoted("Created sequence ", s.name); }
  StatementResult operator()(const bound::DropSequence& s) const { return drop_sequence_result(s.name); }
  StatementResult operator()(const bound::Attach& s) const {
    return quoted("Attached database ", s.path) + attach_alias_suffix(s.alias);
  }
  StatementResult operator()(const bound::Detach& s) const { return quoted("Detached database ", s.name); }
  StatementResult operator()(const bound::Use& s) const { return quoted("Using database ", s.name); }
  StatementResult operator()(const bound::ExportDatabase& s) const { return quoted("Database exported to ", s.path); }
  StatementResult operator()(const bound::ImportDatabase& s) const { return quoted("Database imported from ", s.path); }
  StatementResult operator()(const bound::CreateMacro& s) const {
    // Always "parameters", also for one.
    return quoted("Created macro ", s.name) + " with " + std::to_string(s.parameters.size()) + " parameters";
  }
  StatementResult operator()(const bound::CreateType& s) const { return quoted("Created type ", s.name); }
};

// Stages that run out of stack inside the nested parts of a statement say
// it is nested too deeply. A statement without a construct inside another
// has no nesting to blame: its chains and clauses, however long, are walked
// by loops, so it ran out because the thread's stack was short for its size.
StatementResult blaming_size_unless_nested(StatementResult result, const Statement& statement) {
  if (statement.nesting_depth > 1 || !result.is_error() || result.error().message() != kNestedTooDeeply) {
    return result;
  }
  return result.error().with_message(std::string(kTooLarge));
}

}  // namespace

Executor::Executor(std::shared_ptr<Catalog> catalog, std::shared_ptr<Storage> storage)
    : catalog_(std::move(catalog)), storage_(std::move(storage)), planner_(catalog_) {}

StatementResult Executor::execute_statement(std::string_view text) {
  const EngineEntry entry;  // first: the statement's trees are destroyed inside it
  Result<Statement> statement = Parser::parse(text);
  if (!statement.ok()) return std::move(statement).error();
  const std::shared_ptr<Catalog> catalog = catalog_;  // held until the statement is answered
  Result<BoundStatement> bound = bind_statement(catalog, *statement);
  if (!bound.ok()) return blaming_size_unless_nested(std::move(bound).error(), *statement);
  // The bound statement is discarded after its answer, so a query's
  // expressions move into its plan.
  return blaming_size_unless_nested(std::visit(StatementDispatch{*this, *catalog}, bound->node), *statement);
}

StatementResult Executor::execute_query(BoundQuery&& query) {
  ZELVO_ASSIGN_OR_RETURN(PlannedQuery planned, planner_.plan_query(std::move(query)));
  ZELVO_ASSIGN_OR_RETURN(PlannedQuery optimized, optimizer_.optimize(std::move(planned)));
  // The plan is not needed once its operators exist: they take its parts over.
  ZELVO_ASSIGN_OR_RETURN(const OperatorPtr root, build_operator_tree(std::move(*optimized.plan)));
  std::vector<std::string> columns;
  columns.reserve(optimized.columns.size());
  for (OutputColumn& column : optimized.columns) columns.push_back(std::move(column.name));
  return collect_query_result(*root, std::move(columns));
}

}  // namespace zelvo
