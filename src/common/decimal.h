#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/int128.h"

namespace zelvo {

// A fixed-point decimal: a 96-bit unsigned mantissa, a sign and a scale of
// 0 to 28 (the number of digits after the point). 1.5 and 1.50 are equal
// numbers with different scales; the text keeps the scale.
class Decimal {
 public:
  static constexpr std::uint32_t kMaxScale = 28;

  Decimal() = default;
  // Fails (no value) when the mantissa needs more than 96 bits or the scale
  // is above 28.
  static std::optional<Decimal> make(UInt128 mantissa, std::uint32_t scale, bool negative);

  UInt128 mantissa() const { return mantissa_; }
  std::uint32_t scale() const { return scale_; }
  bool negative() const { return negative_; }

  // The same number with the trailing zeros of the fraction removed and the
  // sign of zero cleared: numerically equal decimals normalise alike.
  Decimal normalized() const;

  // Numeric equality regardless of scale.
  bool numerically_equal(const Decimal& other) const;

  // Plain notation keeping the scale: "1.50", "-0.005", "12".
  std::string to_string() const;

 private:
  UInt128 mantissa_ = 0;
  std::uint32_t scale_ = 0;
  bool negative_ = false;
};

}  // namespace zelvo
