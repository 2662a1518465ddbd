#include "common/hasher.h"

#include <sys/random.h>

#include <atomic>
#include <chrono>

namespace zelvo {

namespace {

std::uint64_t draw_key() {
  std::uint64_t key = 0;
  std::size_t filled = 0;
  auto* bytes = reinterpret_cast<unsigned char*>(&key);
  while (filled < sizeof key) {
    const ssize_t got = getrandom(bytes + filled, sizeof key - filled, 0);
    if (got <= 0) break;
    filled += static_cast<std::size_t>(got);
  }
  if (filled < sizeof key) {
    // No random bytes available: fall back to the clock, which still varies
    // between processes.
    key ^= static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  }
  return key;
}

}  // namespace

std::uint64_t process_random_key() {
  static const std::uint64_t key = draw_key();
  return key;
}

std::uint64_t fresh_random_seed() {
  static std::atomic<std::uint64_t> counter{0};
  Hasher hasher(process_random_key());
  hasher.write_u64(counter.fetch_add(1, std::memory_order_relaxed));
  return hasher.finish();
}

}  // namespace zelvo
