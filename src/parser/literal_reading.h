#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Turning the texts of number and string tokens into values.

namespace zelvo {

// A run of decimal digits as a signed 64-bit number; absent when the value
// is above 9223372036854775807.
std::optional<std::int64_t> read_int64(std::string_view digits);

// A run of decimal digits as an unsigned 64-bit number; absent when it does
// not fit.
std::optional<std::uint64_t> read_uint64(std::string_view digits);

// The text of a Float token as the nearest double: beyond the range it is
// infinity, below it zero. Absent when the text is not a number.
std::optional<double> read_float(std::string_view text);

// The value of a quoted string token: the quotes dropped, then, in this
// order and each over the whole result of the step before, \' -> ',
// \" -> ", \\ -> \, \n -> LF, \r -> CR, \t -> TAB. Other backslash
// sequences stay as written.
std::string unescape_string_literal(std::string_view quoted);

}  // namespace zelvo
