#pragma once

namespace zelvo::unicode {

// True for code points that debug text writes as \u{...}: control, format,
// surrogate, private-use, unassigned and separator characters (the space
// excepted), and grapheme extenders such as combining marks.
bool needs_debug_escape(char32_t code_point);

}  // namespace zelvo::unicode
