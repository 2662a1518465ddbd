#include "parser/syntax_kinds.h"

#include <array>
#include <cstddef>

#include "common/debug_writer.h"
#include "common/invariant.h"

namespace zelvo {

namespace {

template <std::size_t N, typename Enum>
std::string_view name_in(const std::array<std::string_view, N>& names, Enum kind) {
  const auto index = static_cast<std::size_t>(kind);
  ZELVO_CHECK(index < N, "unknown syntax tree kind");
  return names[index];
}

}  // namespace

std::string_view unary_op_name(UnaryOp op) {
  static constexpr std::array<std::string_view, 3> kNames = {"Not", "Neg", "Pos"};
  return name_in(kNames, op);
}

std::string_view binary_op_name(BinaryOp op) {
  static constexpr std::array<std::string_view, 17> kNames = {"Add", "Sub", "Mul", "Div", "Mod", "Pow",
                                                              "Eq",  "Ne",  "Lt",  "Le",  "Gt",  "Ge",
                                                              "And", "Or",  "Xor", "Concat", "Range"};
  return name_in(kNames, op);
}

std::string_view direction_name(Direction direction) {
  static constexpr std::array<std::string_view, 3> kNames = {"Outgoing", "Incoming", "Both"};
  return name_in(kNames, direction);
}

std::string_view sort_order_name(SortOrder order) {
  static constexpr std::array<std::string_view, 2> kNames = {"Ascending", "Descending"};
  return name_in(kNames, order);
}

std::string_view quantifier_name(Quantifier quantifier) {
  static constexpr std::array<std::string_view, 4> kNames = {"All", "Any", "None", "Single"};
  return name_in(kNames, quantifier);
}

std::string_view string_match_type_name(StringMatchType type) {
  static constexpr std::array<std::string_view, 4> kNames = {"Contains", "StartsWith", "EndsWith", "Regex"};
  return name_in(kNames, type);
}

std::string_view window_frame_type_name(WindowFrameType type) {
  static constexpr std::array<std::string_view, 2> kNames = {"Rows", "Range"};
  return name_in(kNames, type);
}

void describe_value(DebugWriter& w, UnaryOp op) { w.name(unary_op_name(op)); }
void describe_value(DebugWriter& w, BinaryOp op) { w.name(binary_op_name(op)); }
void describe_value(DebugWriter& w, Direction direction) { w.name(direction_name(direction)); }
void describe_value(DebugWriter& w, SortOrder order) { w.name(sort_order_name(order)); }
void describe_value(DebugWriter& w, Quantifier quantifier) { w.name(quantifier_name(quantifier)); }
void describe_value(DebugWriter& w, StringMatchType type) { w.name(string_match_type_name(type)); }
void describe_value(DebugWriter& w, WindowFrameType type) { w.name(window_frame_type_name(type)); }

}  // namespace zelvo
