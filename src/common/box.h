#pragma once

#include <memory>
#include <utility>

namespace zelvo {

// An owning pointer with value semantics: copying a Box copies the pointee.
// Used for large or recursive members that must be copied deeply.
template <typename T>
class Box {
 public:
  explicit Box(T value) : pointer_(std::make_unique<T>(std::move(value))) {}
  // Constructs the pointee in place from `args`.
  template <typename... Args>
  explicit Box(std::in_place_t, Args&&... args) : pointer_(std::make_unique<T>(std::forward<Args>(args)...)) {}
  Box(const Box& other) : pointer_(std::make_unique<T>(*other.pointer_)) {}
  Box(Box&&) noexcept = default;
  Box& operator=(const Box& other) {
    if (this != &other) pointer_ = std::make_unique<T>(*other.pointer_);
    return *this;
  }
  Box& operator=(Box&&) noexcept = default;
  ~Box() = default;

  T& operator*() { return *pointer_; }
  const T& operator*() const { return *pointer_; }
  T* operator->() { return pointer_.get(); }
  const T* operator->() const { return pointer_.get(); }
  T* get() { return pointer_.get(); }
  const T* get() const { return pointer_.get(); }

 private:
  std::unique_ptr<T> pointer_;
};

}  // namespace zelvo
