#pragma once

#include <memory>
#include <utility>

namespace zelvo {

// How a Box deletes its pointee. Recursive types whose boxes can form long
// chains (expression trees) specialise it to delete a chain by a loop.
template <typename T>
struct BoxDeleter {
  void operator()(T* pointer) const noexcept { delete pointer; }
};

// An owning pointer with value semantics: copying a Box copies the pointee.
// Used for large or recursive members that must be copied deeply.
template <typename T>
class Box {
 public:
  using Pointer = std::unique_ptr<T, BoxDeleter<T>>;

  explicit Box(T value) : pointer_(new T(std::move(value))) {}
  // Constructs the pointee in place from `args`.
  template <typename... Args>
  explicit Box(std::in_place_t, Args&&... args) : pointer_(new T(std::forward<Args>(args)...)) {}
  Box(const Box& other) : pointer_(new T(*other.pointer_)) {}
  Box(Box&&) noexcept = default;
  Box& operator=(const Box& other) {
    if (this != &other) pointer_.reset(new T(*other.pointer_));
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

  // Gives up the pointee; the Box is empty afterwards and may only be
  // destroyed or assigned to.
  T* release() { return pointer_.release(); }

 private:
  Pointer pointer_;
};

}  // namespace zelvo
