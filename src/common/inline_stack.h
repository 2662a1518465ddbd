#pragma once

#include <array>
#include <cstddef>
#include <type_traits>
#include <vector>

namespace zelvo {

// A stack that keeps its first N entries in place and moves to the heap only
// beyond them. Routines that walk a chain of tree nodes by a loop (the left
// operands of an operator chain, a plan's inputs) keep the nodes they still
// have to finish here: short chains, the common case, allocate nothing.
template <typename T, std::size_t N = 8>
class InlineStack {
  // Entries past size_ are left unmade, so that a stack costs nothing to
  // set up.
  static_assert(std::is_trivially_default_constructible_v<T> && std::is_trivially_destructible_v<T>);

 public:
  bool empty() const { return size_ == 0; }
  std::size_t size() const { return size_; }

  void push(T value) {
    if (size_ < N) {
      inline_[size_] = std::move(value);
    } else {
      spilled_.push_back(std::move(value));
    }
    ++size_;
  }

  T& top() { return size_ <= N ? inline_[size_ - 1] : spilled_.back(); }

  T pop() {
    T value = std::move(top());
    if (size_ > N) spilled_.pop_back();
    --size_;
    return value;
  }

 private:
  std::array<T, N> inline_;  // entries past size_ are never read
  std::vector<T> spilled_;
  std::size_t size_ = 0;
};

}  // namespace zelvo
