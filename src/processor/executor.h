#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "binder/bound_query.h"
#include "catalog/catalog.h"
#include "optimizer/optimizer.h"
#include "planner/logical_plan.h"
#include "planner/planner.h"
#include "processor/physical_operator.h"
#include "processor/result.h"
#include "storage/storage.h"

namespace zelvo {

// The engine's entry for one statement text; each connection owns one.
// It keeps no state between statements: no plan cache and no transaction.
class Executor {
 public:
  Executor(std::shared_ptr<Catalog> catalog, std::shared_ptr<Storage> storage);

  // Parses, binds and dispatches one statement; the answer carries rows, a
  // message or the first error met.
  StatementResult execute_statement(std::string_view text);
  // Plans, optimizes and runs a bound query into a materialised result. The
  // query is given up: the plan takes its expressions over.
  StatementResult execute_query(BoundQuery&& query);
  // The operator tree of a plan (the plan is only read).
  Result<OperatorPtr> build_physical_plan(const LogicalPlan& plan) const;

  const Planner& planner() const { return planner_; }
  const Optimizer& optimizer() const { return optimizer_; }
  const std::shared_ptr<Catalog>& catalog() const { return catalog_; }

 private:
  Optimizer optimizer_;
  std::shared_ptr<Catalog> catalog_;
  std::shared_ptr<Storage> storage_;
  Planner planner_;
};

}  // namespace zelvo
