#pragma once

#include <string>

#include "parser/syntax_tree.h"

// Node surgery for the expression parser (internal to the parser library).
// Each function puts a new node in the place of `out`, with the old `out`
// as its first child, and returns the slot that the parser fills next. They
// live out of line so that the recursive parsing routines carry none of
// their temporaries on the stack.

namespace zelvo::tree_building {

// Binary { left: out, op, right: (returned) }.
Expression& wrap_binary(Expression& out, BinaryOp op);
// In { operand: out, list: (returned), negated }.
Expression& wrap_in(Expression& out, bool negated);
// IsNull { operand: out, negated }.
void wrap_is_null(Expression& out, bool negated);
// Index { base: out, index: (returned) }.
Expression& wrap_index(Expression& out);
// Property { base: out, property: (returned) }.
std::string& wrap_property(Expression& out);
// Replaces `out` by Unary { op, operand: (returned) }.
Expression& make_unary(Expression& out, UnaryOp op);
// Turns the Variable `out` into a FunctionCall of that name with no
// arguments yet.
Expression::FunctionCall& make_call(Expression& out, bool distinct);
// Turns the FunctionCall `out` into a WindowFunction with its name and
// arguments.
Expression::WindowFunction& make_window(Expression& out);

}  // namespace zelvo::tree_building
