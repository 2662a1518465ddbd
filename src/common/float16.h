#pragma once

#include <compare>
#include <cstdint>

namespace zelvo {

// An IEEE 754 binary16 number held as its 16 bits.
struct Float16 {
  std::uint16_t bits = 0;

  // Exact widenings: zero keeps its sign, subnormals are normalised,
  // infinities stay infinite, a NaN keeps its sign and payload with the
  // quiet bit set.
  float to_float() const;
  double to_double() const;
  // Rounds to nearest, ties to even; overflow gives infinity.
  static Float16 from_float(float value);

  bool is_nan() const { return (bits & 0x7c00U) == 0x7c00U && (bits & 0x03ffU) != 0; }

  friend bool operator==(const Float16&, const Float16&) = default;
};

}  // namespace zelvo
