#include "binder/bound_expression.h"

#include "common/chain_delete.h"
#include "common/invariant.h"

namespace zelvo {

std::optional<bool> BoundExpression::bool_literal() const {
  const Literal* literal = as<Literal>();
  if (literal == nullptr || literal->value.kind() != ValueKind::Bool) return std::nullopt;
  return literal->value.as_bool();
}

namespace {

using B = BoundExpression;

// The shape of BoundExpression records for DebugWriter::chain: Property,
// Binary, IsNull and In chain through their first field.
struct DescribeLink {
  const B* next(const B& expression, DebugWriter::ChainHead& head) const {
    switch (expression.kind()) {
      case B::Kind::Property: head = {"Property", "base"}; return expression.as<B::Property>()->base.get();
      case B::Kind::Binary: head = {"Binary", "left"}; return expression.as<B::Binary>()->left.get();
      case B::Kind::IsNull: head = {"IsNull", "operand"}; return expression.as<B::IsNull>()->operand.get();
      case B::Kind::In: head = {"In", "operand"}; return expression.as<B::In>()->operand.get();
      default: return nullptr;
    }
  }

  void rest(DebugWriter::Record& record, const B& expression) const {
    if (const auto* property = expression.as<B::Property>()) {
      record.field("property", property->property);
    } else if (const auto* binary = expression.as<B::Binary>()) {
      record.field("op", RawText{binary_op_name(binary->op)}).field("right", *binary->right);
    } else if (const auto* is_null = expression.as<B::IsNull>()) {
      record.field("negated", is_null->negated);
    } else if (const auto* in = expression.as<B::In>()) {
      record.field("list", *in->list).field("negated", in->negated);
    }
  }

  void end(DebugWriter& w, const B& expression) const {
    std::visit(
        [&w](const auto& n) {
          using T = std::decay_t<decltype(n)>;
          if constexpr (std::is_same_v<T, B::Literal>) {
            w.tuple("Literal").item(n.value).finish();
          } else if constexpr (std::is_same_v<T, B::Variable>) {
            w.tuple("Variable").item(n.name).finish();
          } else if constexpr (std::is_same_v<T, B::Unary>) {
            w.record("Unary").field("op", RawText{unary_op_name(n.op)}).field("operand", *n.operand).finish();
          } else if constexpr (std::is_same_v<T, B::FunctionCall>) {
            w.record("FunctionCall").field("name", n.name).field("distinct", n.distinct).field("args", n.args).finish();
          } else if constexpr (std::is_same_v<T, B::WindowFunction>) {
            w.record("WindowFunction")
                .field("name", n.name)
                .field("args", n.args)
                .field("partition_by", n.partition_by)
                .field("order_by", n.order_by)
                .finish();
          } else if constexpr (std::is_same_v<T, B::Parameter>) {
            w.tuple("Parameter").item(n.name).finish();
          } else if constexpr (std::is_same_v<T, B::List>) {
            w.tuple("List").item(n.elements).finish();
          } else if constexpr (std::is_same_v<T, B::Map>) {
            w.tuple("Map").item(n.entries).finish();
          } else {
            fail_invariant("a link of a chain written as its end");
          }
        },
        expression.node);
  }
};

// Takes the first child (the one a chain continues through) out of
// `expression`, leaving its box empty; nullptr for kinds without one.
B* release_first_child(B& expression) {
  if (auto* binary = std::get_if<B::Binary>(&expression.node)) return binary->left.release();
  if (auto* property = std::get_if<B::Property>(&expression.node)) return property->base.release();
  if (auto* unary = std::get_if<B::Unary>(&expression.node)) return unary->operand.release();
  if (auto* is_null = std::get_if<B::IsNull>(&expression.node)) return is_null->operand.release();
  if (auto* in = std::get_if<B::In>(&expression.node)) return in->operand.release();
  return nullptr;
}

}  // namespace

void BoundExpression::describe(DebugWriter& w) const { w.chain(*this, DescribeLink{}); }

void BoxDeleter<BoundExpression>::operator()(BoundExpression* expression) const noexcept {
  delete_chain(expression, release_first_child);
}

}  // namespace zelvo
