#include "common/decimal.h"

namespace zelvo {

namespace {
constexpr UInt128 kMantissaLimit = UInt128{1} << 96;
}

std::optional<Decimal> Decimal::make(UInt128 mantissa, std::uint32_t scale, bool negative) {
  if (mantissa >= kMantissaLimit || scale > kMaxScale) return std::nullopt;
  Decimal result;
  result.mantissa_ = mantissa;
  result.scale_ = scale;
  result.negative_ = negative;
  return result;
}

Decimal Decimal::normalized() const {
  Decimal result = *this;
  while (result.scale_ > 0 && result.mantissa_ % 10 == 0) {
    result.mantissa_ /= 10;
    --result.scale_;
  }
  if (result.mantissa_ == 0) {
    result.scale_ = 0;
    result.negative_ = false;
  }
  return result;
}

bool Decimal::numerically_equal(const Decimal& other) const {
  const Decimal a = normalized();
  const Decimal b = other.normalized();
  return a.mantissa_ == b.mantissa_ && a.scale_ == b.scale_ && a.negative_ == b.negative_;
}

std::string Decimal::to_string() const {
  std::string digits = uint128_to_string(mantissa_);
  if (scale_ > 0) {
    if (digits.size() <= scale_) digits.insert(0, scale_ + 1 - digits.size(), '0');
    digits.insert(digits.size() - scale_, 1, '.');
  }
  if (negative_) digits.insert(0, 1, '-');
  return digits;
}

}  // namespace zelvo
