#pragma once

#include <string>
#include <string_view>

namespace zelvo::testing {

// `piece` written `count` times: statement texts nested or chained that far.
inline std::string repeat(std::string_view piece, int count) {
  std::string out;
  out.reserve(piece.size() * static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) out += piece;
  return out;
}

}  // namespace zelvo::testing
