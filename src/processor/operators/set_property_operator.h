#pragma once

#include <cstdint>
#include <string>

#include "binder/bound_expression.h"
#include "processor/physical_operator.h"

namespace zelvo {

// SET variable.property = value: evaluates the value over every input chunk
// and answers one chunk with one Int64 column and one row, the number of
// input rows. Nothing is written: storage holds no rows.
class SetPropertyOperator final : public PhysicalOperator {
 public:
  SetPropertyOperator(OperatorPtr child, std::string variable, std::string property, BoundExpression value)
      : child_(std::move(child)),
        variable_(std::move(variable)),
        property_(std::move(property)),
        value_(std::move(value)) {}

  const std::string& variable() const { return variable_; }
  const std::string& property() const { return property_; }

 private:
  Status do_init() override;
  Result<std::optional<DataChunk>> do_next_chunk() override;
  Status do_reset() override { return do_init(); }

  OperatorPtr child_;
  std::string variable_;
  std::string property_;
  BoundExpression value_;
  std::uint64_t count_ = 0;
  bool done_ = false;
};

}  // namespace zelvo
