#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelvo::utf8 {

// One decoded code point and the number of bytes it took. An invalid or
// truncated sequence decodes as `kInvalid` over one byte.
struct Decoded {
  char32_t code_point;
  std::size_t length;
};

inline constexpr char32_t kInvalid = 0xFFFFFFFF;

// Decodes the sequence starting at `text[position]` (position < size).
Decoded decode(std::string_view text, std::size_t position);

// Appends the UTF-8 encoding of a valid code point.
void encode(std::string& out, char32_t code_point);

}  // namespace zelvo::utf8
