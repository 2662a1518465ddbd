#pragma once

#include <cstdint>
#include <vector>

namespace zelvo {

// A fixed-length list of bits, all clear or all set at creation.
class BitList {
 public:
  BitList() = default;
  BitList(std::uint64_t length, bool set)
      : words_((length + 63) / 64, set ? ~std::uint64_t{0} : 0), length_(length) {}

  std::uint64_t length() const { return length_; }
  // Positions at or past the length read as clear.
  bool test(std::uint64_t position) const {
    return position < length_ && (words_[position / 64] >> (position % 64) & 1U) != 0;
  }
  void set(std::uint64_t position) { words_[position / 64] |= std::uint64_t{1} << (position % 64); }
  void clear(std::uint64_t position) { words_[position / 64] &= ~(std::uint64_t{1} << (position % 64)); }

 private:
  std::vector<std::uint64_t> words_;
  std::uint64_t length_ = 0;
};

}  // namespace zelvo
