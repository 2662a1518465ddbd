#pragma once

#include <cstdint>
#include <string_view>

// The plain enumerations of the syntax tree. UnaryOp, BinaryOp and Direction
// are shared with the bound tree, which keeps their kinds and numbers.

namespace zelvo {

enum class UnaryOp : std::uint8_t { Not, Neg, Pos };

enum class BinaryOp : std::uint8_t {
  Add,
  Sub,
  Mul,
  Div,
  Mod,
  Pow,
  Eq,
  Ne,
  Lt,
  Le,
  Gt,
  Ge,
  And,
  Or,
  Xor,
  Concat,
  Range,
};

// The direction of a relationship in a pattern.
enum class Direction : std::uint8_t { Outgoing, Incoming, Both };

enum class SortOrder : std::uint8_t { Ascending, Descending };

enum class Quantifier : std::uint8_t { All, Any, None, Single };

enum class StringMatchType : std::uint8_t { Contains, StartsWith, EndsWith, Regex };

enum class WindowFrameType : std::uint8_t { Rows, Range };

class DebugWriter;

// The names debug text shows for each kind ("Neg", "Ge", "Incoming").
std::string_view unary_op_name(UnaryOp op);
std::string_view binary_op_name(BinaryOp op);
std::string_view direction_name(Direction direction);
std::string_view sort_order_name(SortOrder order);
std::string_view quantifier_name(Quantifier quantifier);
std::string_view string_match_type_name(StringMatchType type);
std::string_view window_frame_type_name(WindowFrameType type);

// Debug text: the kind's name.
void describe_value(DebugWriter& w, UnaryOp op);
void describe_value(DebugWriter& w, BinaryOp op);
void describe_value(DebugWriter& w, Direction direction);
void describe_value(DebugWriter& w, SortOrder order);
void describe_value(DebugWriter& w, Quantifier quantifier);
void describe_value(DebugWriter& w, StringMatchType type);
void describe_value(DebugWriter& w, WindowFrameType type);

}  // namespace zelvo
