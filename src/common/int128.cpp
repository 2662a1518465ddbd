#include "common/int128.h"

#include <algorithm>

namespace zelvo {

std::string uint128_to_string(UInt128 value) {
  if (value == 0) return "0";
  std::string digits;
  while (value != 0) {
    digits.push_back(static_cast<char>('0' + static_cast<int>(value % 10)));
    value /= 10;
  }
  std::reverse(digits.begin(), digits.end());
  return digits;
}

std::string int128_to_string(Int128 value) {
  if (value >= 0) return uint128_to_string(static_cast<UInt128>(value));
  // Negate through the unsigned type so that the smallest value has no overflow.
  std::string text = uint128_to_string(UInt128{0} - static_cast<UInt128>(value));
  text.insert(text.begin(), '-');
  return text;
}

}  // namespace zelvo
