#pragma once

#include <string>
#include <vector>

#include "binder/bound_expression.h"
#include "binder/bound_query.h"
#include "processor/physical_operator.h"

namespace zelvo {

// FOREACH: evaluates the list expression over each input chunk and hands
// the chunk on unchanged. The body's update clauses change nothing, since
// storage holds no rows, so they are not run.
class ForeachOperator final : public PhysicalOperator {
 public:
  ForeachOperator(OperatorPtr child, std::string variable, BoundExpression list_expr,
                  std::vector<BoundUpdateClause> body)
      : child_(std::move(child)),
        variable_(std::move(variable)),
        list_expr_(std::move(list_expr)),
        body_(std::move(body)) {}

  const std::string& variable() const { return variable_; }
  const std::vector<BoundUpdateClause>& body() const { return body_; }

 private:
  Status do_init() override;
  Result<std::optional<DataChunk>> do_next_chunk() override;
  Status do_reset() override { return do_init(); }

  OperatorPtr child_;
  std::string variable_;
  BoundExpression list_expr_;
  std::vector<BoundUpdateClause> body_;
  bool done_ = false;
};

}  // namespace zelvo
