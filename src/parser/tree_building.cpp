#include "parser/tree_building.h"

namespace zelvo::tree_building {

namespace {

Expression::Child take(Expression& out) { return std::make_unique<Expression>(std::move(out)); }

}  // namespace

Expression& wrap_binary(Expression& out, BinaryOp op) {
  auto left = take(out);
  return *out.node.emplace<Expression::Binary>(Expression::Binary{std::move(left), op, std::make_unique<Expression>()}).right;
}

Expression& wrap_in(Expression& out, bool negated) {
  auto operand = take(out);
  return *out.node.emplace<Expression::In>(Expression::In{std::move(operand), std::make_unique<Expression>(), negated}).list;
}

void wrap_is_null(Expression& out, bool negated) {
  auto operand = take(out);
  out.node.emplace<Expression::IsNull>(Expression::IsNull{std::move(operand), negated});
}

Expression& wrap_index(Expression& out) {
  auto base = take(out);
  return *out.node.emplace<Expression::Index>(Expression::Index{std::move(base), std::make_unique<Expression>()}).index;
}

std::string& wrap_property(Expression& out) {
  auto base = take(out);
  return out.node.emplace<Expression::Property>(Expression::Property{std::move(base), std::string()}).property;
}

Expression& make_unary(Expression& out, UnaryOp op) {
  return *out.node.emplace<Expression::Unary>(Expression::Unary{op, std::make_unique<Expression>()}).operand;
}

Expression::FunctionCall& make_call(Expression& out, bool distinct) {
  std::string name = std::move(std::get<Expression::Variable>(out.node).name);
  return out.node.emplace<Expression::FunctionCall>(Expression::FunctionCall{std::move(name), distinct, {}});
}

Expression::WindowFunction& make_window(Expression& out) {
  Expression::FunctionCall call = std::move(std::get<Expression::FunctionCall>(out.node));
  auto& window = out.node.emplace<Expression::WindowFunction>();
  window.name = std::move(call.name);
  window.args = std::move(call.args);
  return window;
}

}  // namespace zelvo::tree_building
