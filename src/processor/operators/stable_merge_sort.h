#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace zelvo {

// Sorts `items` stably by `less`, bottom-up merge sort. Unlike std::sort and
// std::stable_sort it stays well defined for orders that are not strict
// weak orders (keys that compare equal to everything, such as NaN): every
// merge step reads within its two runs, whatever `less` answers.
template <typename T, typename Less>
void stable_merge_sort(std::vector<T>& items, Less less) {
  const std::size_t n = items.size();
  if (n < 2) return;
  std::vector<T> buffer(n);
  for (std::size_t width = 1; width < n; width = width <= n / 2 ? width * 2 : n) {
    for (std::size_t low = 0; low < n; low += std::min(n - low, 2 * width)) {
      const std::size_t middle = low + std::min(n - low, width);
      const std::size_t high = middle + std::min(n - middle, width);
      std::size_t left = low;
      std::size_t right = middle;
      std::size_t out = low;
      // A right item goes first only when strictly less: equal items keep their order.
      while (left < middle && right < high) {
        buffer[out++] = less(items[right], items[left]) ? std::move(items[right++]) : std::move(items[left++]);
      }
      while (left < middle) buffer[out++] = std::move(items[left++]);
      while (right < high) buffer[out++] = std::move(items[right++]);
    }
    items.swap(buffer);
  }
}

}  // namespace zelvo
