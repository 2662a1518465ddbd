#pragma once

#include <cstdint>
#include <vector>

namespace zelvo {

// A fixed-length list of bits, all clear or all set at creation. The words
// are only allocated when a bit first changes, so a list that keeps its
// initial state (a chunk's validity with no nulls) costs no allocation
// whatever its length.
class BitList {
 public:
  BitList() = default;
  BitList(std::uint64_t length, bool set) : length_(length), fill_(set) {}

  std::uint64_t length() const { return length_; }
  // Positions at or past the length read as clear.
  bool test(std::uint64_t position) const {
    if (position >= length_) return false;
    if (words_.empty()) return fill_;
    return (words_[position / 64] >> (position % 64) & 1U) != 0;
  }
  // Positions at or past the length are left alone.
  void set(std::uint64_t position) {
    if (position >= length_) return;
    if (words_.empty()) {
      if (fill_) return;
      materialize();
    }
    words_[position / 64] |= std::uint64_t{1} << (position % 64);
  }
  void clear(std::uint64_t position) {
    if (position >= length_) return;
    if (words_.empty()) {
      if (!fill_) return;
      materialize();
    }
    words_[position / 64] &= ~(std::uint64_t{1} << (position % 64));
  }

 private:
  // One word per 64 positions, rounded up (without the wrap of length + 63
  // for the largest lengths).
  void materialize() { words_.assign(length_ / 64 + (length_ % 64 != 0 ? 1 : 0), fill_ ? ~std::uint64_t{0} : 0); }

  std::vector<std::uint64_t> words_;  // empty while every bit equals fill_
  std::uint64_t length_ = 0;
  bool fill_ = false;
};

}  // namespace zelvo
