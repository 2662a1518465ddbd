#include "optimizer/constant_folding.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "optimizer/operator_rewrite.h"
#include "optimizer/plan_rewrite.h"

namespace zelvo {

namespace {

// Two's-complement arithmetic modulo 2^64, computed on unsigned values.
std::int64_t wrapping_add(std::int64_t a, std::int64_t b) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}
std::int64_t wrapping_sub(std::int64_t a, std::int64_t b) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) - static_cast<std::uint64_t>(b));
}
std::int64_t wrapping_mul(std::int64_t a, std::int64_t b) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) * static_cast<std::uint64_t>(b));
}
std::int64_t wrapping_neg(std::int64_t a) { return static_cast<std::int64_t>(0U - static_cast<std::uint64_t>(a)); }

std::optional<Value> fold_int64(std::int64_t a, BinaryOp op, std::int64_t b) {
  switch (op) {
    case BinaryOp::Add: return Value::int64(wrapping_add(a, b));
    case BinaryOp::Sub: return Value::int64(wrapping_sub(a, b));
    case BinaryOp::Mul: return Value::int64(wrapping_mul(a, b));
    case BinaryOp::Div:
      // No quotient for a zero divisor; none representable for min / -1.
      if (b == 0 || (a == std::numeric_limits<std::int64_t>::min() && b == -1)) return std::nullopt;
      return Value::int64(a / b);
    case BinaryOp::Eq: return Value::boolean(a == b);
    case BinaryOp::Ne: return Value::boolean(a != b);
    case BinaryOp::Lt: return Value::boolean(a < b);
    case BinaryOp::Le: return Value::boolean(a <= b);
    case BinaryOp::Gt: return Value::boolean(a > b);
    case BinaryOp::Ge: return Value::boolean(a >= b);
    default: return std::nullopt;
  }
}

// Byte-wise: std::string_view compares characters as unsigned bytes.
std::optional<Value> compare_strings(std::string_view a, BinaryOp op, std::string_view b) {
  switch (op) {
    case BinaryOp::Eq: return Value::boolean(a == b);
    case BinaryOp::Ne: return Value::boolean(a != b);
    case BinaryOp::Lt: return Value::boolean(a < b);
    case BinaryOp::Gt: return Value::boolean(a > b);
    default: return std::nullopt;
  }
}

std::optional<Value> fold_bool(bool a, BinaryOp op, bool b) {
  switch (op) {
    case BinaryOp::Eq: return Value::boolean(a == b);
    case BinaryOp::Ne:
    case BinaryOp::Xor: return Value::boolean(a != b);
    case BinaryOp::And: return Value::boolean(a && b);
    case BinaryOp::Or: return Value::boolean(a || b);
    default: return std::nullopt;
  }
}

// A concatenation takes over the left string and appends the right one to
// it: folding a chain 's' + 's' + ... link by link then grows one string
// instead of copying everything joined so far at every link. `left` is
// taken only when the result is returned, and the caller replaces the
// operator by that result.
std::optional<Value> fold_string(Value& left, BinaryOp op, const Value& right) {
  if (op != BinaryOp::Add) return compare_strings(left.as_string(), op, right.as_string());
  Value joined = std::move(left);
  joined.as_mutable_string().append(right.as_string());
  return joined;
}

std::optional<Value> fold_binary_values(Value& left, BinaryOp op, const Value& right) {
  if (left.kind() != right.kind()) return std::nullopt;
  switch (left.kind()) {
    case ValueKind::Int64: return fold_int64(left.as_int64(), op, right.as_int64());
    case ValueKind::String: return fold_string(left, op, right);
    case ValueKind::Bool: return fold_bool(left.as_bool(), op, right.as_bool());
    default: return std::nullopt;
  }
}

std::optional<Value> fold_unary_value(UnaryOp op, const Value& operand) {
  if (op == UnaryOp::Not && operand.kind() == ValueKind::Bool) return Value::boolean(!operand.as_bool());
  if (op == UnaryOp::Neg && operand.kind() == ValueKind::Int64) return Value::int64(wrapping_neg(operand.as_int64()));
  // Negation flips the sign bit: 0.0 becomes -0.0.
  if (op == UnaryOp::Neg && operand.kind() == ValueKind::Float64) return Value::float64(-operand.as_float64());
  return std::nullopt;
}

Value* literal_value(BoundExpression& expression) {
  auto* literal = std::get_if<BoundExpression::Literal>(&expression.node);
  return literal != nullptr ? &literal->value : nullptr;
}

// Replaces `node`, a Binary or Unary over rewritten operands, by the
// literal it folds to, when it folds.
void fold_operator(BoundExpression& node) {
  std::optional<Value> folded;
  if (auto* binary = std::get_if<BoundExpression::Binary>(&node.node)) {
    Value* left = literal_value(*binary->left);
    const Value* right = literal_value(*binary->right);
    if (left != nullptr && right != nullptr) folded = fold_binary_values(*left, binary->op, *right);
  } else {
    auto& unary = std::get<BoundExpression::Unary>(node.node);
    if (const Value* operand = literal_value(*unary.operand)) folded = fold_unary_value(unary.op, *operand);
  }
  if (folded.has_value()) node.node.emplace<BoundExpression::Literal>(BoundExpression::Literal{std::move(*folded)});
}

}  // namespace

// Folds bottom-up in place: a node is replaced only when it folds.
Status fold_constants_in_place(BoundExpression& expression) { return rewrite_operators(expression, fold_operator); }

Result<BoundExpression> fold_constant_expression(BoundExpression expression) {
  ZELVO_TRY(fold_constants_in_place(expression));
  return expression;
}

Status map_projection_items_in_place(std::vector<ProjectionPair>& pairs) {
  for (ProjectionPair& pair : pairs) ZELVO_TRY(fold_constants_in_place(pair.first));
  return {};
}

Result<PlanPtr> ConstantFolding::optimize(PlanPtr plan) const {
  ZELVO_TRY(rewrite_plan(plan, [](PlanPtr& slot, PlanSlots& next) -> Status {
    if (auto* filter = slot->as<plan::Filter>()) {
      ZELVO_TRY(fold_constants_in_place(filter->predicate));
      // A filter that always passes is dropped, its input visited in its
      // place; one that never passes stays.
      if (filter->predicate.bool_literal() == std::optional<bool>(true)) {
        slot = std::move(filter->input);
        next.push(&slot);
        return {};
      }
    } else if (auto* project = slot->as<plan::Project>()) {
      ZELVO_TRY(map_projection_items_in_place(project->expressions));
    }
    push_filter_project_join_children(*slot, next);
    return {};
  }));
  return plan;
}

}  // namespace zelvo
