#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "common/int128.h"

namespace zelvo {

// A small, fast, seeded, non-cryptographic 64-bit hasher. Each write folds
// its input into the state with a 64x64->128-bit multiply; different seeds
// give unrelated hash functions.
class Hasher {
 public:
  explicit Hasher(std::uint64_t seed = 0) : state_(seed ^ kInitial) {}

  void write_u8(std::uint8_t v) { mix(v); }
  void write_u16(std::uint16_t v) { mix(v); }
  void write_u32(std::uint32_t v) { mix(v); }
  void write_u64(std::uint64_t v) { mix(v); }
  void write_u128(UInt128 v) {
    mix(static_cast<std::uint64_t>(v));
    mix(static_cast<std::uint64_t>(v >> 64));
  }
  // Raw bytes, eight at a time, then the tail and the length.
  void write_bytes(const void* data, std::size_t length) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t i = 0;
    for (; i + 8 <= length; i += 8) {
      std::uint64_t word;
      std::memcpy(&word, bytes + i, 8);
      mix(word);
    }
    std::uint64_t tail = 0;
    if (length > i) std::memcpy(&tail, bytes + i, length - i);
    mix(tail ^ (static_cast<std::uint64_t>(length) << 56));
  }
  // A string: its bytes and a terminator, so that ("ab", "c") and ("a", "bc")
  // hash apart when written in sequence.
  void write_str(std::string_view text) {
    write_bytes(text.data(), text.size());
    mix(0xff);
  }

  std::uint64_t finish() const { return fold(state_, kFinish) ^ (state_ >> 29); }

 private:
  static constexpr std::uint64_t kInitial = 0x243f6a8885a308d3ULL;
  static constexpr std::uint64_t kMultiplier = 0x9e3779b97f4a7c15ULL;
  static constexpr std::uint64_t kFinish = 0xc2b2ae3d27d4eb4fULL;

  static std::uint64_t fold(std::uint64_t a, std::uint64_t b) {
    const UInt128 product = static_cast<UInt128>(a) * b;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
  }
  void mix(std::uint64_t v) { state_ = fold(state_ ^ v, kMultiplier); }

  std::uint64_t state_;
};

// A key drawn once per process from the operating system's random bytes.
std::uint64_t process_random_key();

// A fresh seed for each caller (each hash table): the process key mixed with
// a counter, so that two tables iterate in unrelated orders.
std::uint64_t fresh_random_seed();

}  // namespace zelvo
