#include "common/float16.h"

#include <bit>
#include <cstring>

namespace zelvo {

float Float16::to_float() const {
  const std::uint32_t sign = static_cast<std::uint32_t>(bits & 0x8000U) << 16;
  const std::uint32_t exponent = (bits >> 10) & 0x1fU;
  std::uint32_t mantissa = bits & 0x03ffU;
  std::uint32_t result;
  if (exponent == 0x1f) {
    // Infinity, or NaN with its payload shifted into the wider mantissa and
    // the quiet bit set.
    result = sign | 0x7f800000U | (mantissa << 13);
    if (mantissa != 0) result |= 0x00400000U;
  } else if (exponent != 0) {
    result = sign | ((exponent + (127 - 15)) << 23) | (mantissa << 13);
  } else if (mantissa == 0) {
    result = sign;
  } else {
    // Subnormal: shift until the leading one reaches the implicit position.
    int shift = 0;
    while ((mantissa & 0x0400U) == 0) {
      mantissa <<= 1;
      ++shift;
    }
    mantissa &= 0x03ffU;
    const std::uint32_t wide_exponent = static_cast<std::uint32_t>(127 - 15 + 1 - shift);
    result = sign | (wide_exponent << 23) | (mantissa << 13);
  }
  return std::bit_cast<float>(result);
}

double Float16::to_double() const {
  const std::uint64_t sign = static_cast<std::uint64_t>(bits & 0x8000U) << 48;
  const std::uint64_t exponent = (bits >> 10) & 0x1fU;
  std::uint64_t mantissa = bits & 0x03ffU;
  std::uint64_t result;
  if (exponent == 0x1f) {
    result = sign | 0x7ff0000000000000ULL | (mantissa << 42);
    if (mantissa != 0) result |= 0x0008000000000000ULL;
  } else if (exponent != 0) {
    result = sign | ((exponent + (1023 - 15)) << 52) | (mantissa << 42);
  } else if (mantissa == 0) {
    result = sign;
  } else {
    int shift = 0;
    while ((mantissa & 0x0400U) == 0) {
      mantissa <<= 1;
      ++shift;
    }
    mantissa &= 0x03ffU;
    const std::uint64_t wide_exponent = static_cast<std::uint64_t>(1023 - 15 + 1 - shift);
    result = sign | (wide_exponent << 52) | (mantissa << 42);
  }
  return std::bit_cast<double>(result);
}

Float16 Float16::from_float(float value) {
  const std::uint32_t x = std::bit_cast<std::uint32_t>(value);
  const std::uint16_t sign = static_cast<std::uint16_t>((x >> 16) & 0x8000U);
  const std::uint32_t exponent = (x >> 23) & 0xffU;
  const std::uint32_t mantissa = x & 0x7fffffU;
  if (exponent == 0xff) {
    if (mantissa == 0) return Float16{static_cast<std::uint16_t>(sign | 0x7c00U)};
    return Float16{static_cast<std::uint16_t>(sign | 0x7e00U | (mantissa >> 13))};
  }
  const int unbiased = static_cast<int>(exponent) - 127;
  if (unbiased > 15) return Float16{static_cast<std::uint16_t>(sign | 0x7c00U)};
  if (unbiased >= -14) {
    // Normal half: round the 23-bit mantissa to 10 bits, ties to even.
    std::uint32_t half = (static_cast<std::uint32_t>(unbiased + 15) << 10) | (mantissa >> 13);
    const std::uint32_t rest = mantissa & 0x1fffU;
    if (rest > 0x1000U || (rest == 0x1000U && (half & 1U) != 0)) ++half;  // may carry into infinity
    return Float16{static_cast<std::uint16_t>(sign | half)};
  }
  if (unbiased < -25) return Float16{sign};
  // Subnormal half: the value is full_mantissa * 2^(unbiased - 23), the half
  // unit is 2^-24.
  const std::uint32_t full = mantissa | 0x800000U;
  const int shift = -unbiased - 1;  // 14..24
  std::uint32_t half = full >> shift;
  const std::uint32_t rest = full & ((1U << shift) - 1U);
  const std::uint32_t midpoint = 1U << (shift - 1);
  if (rest > midpoint || (rest == midpoint && (half & 1U) != 0)) ++half;
  return Float16{static_cast<std::uint16_t>(sign | half)};
}

}  // namespace zelvo
