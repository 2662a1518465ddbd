#pragma once

#include "py_ref.h"

#include <cstdint>

namespace zelvo::python {

// The holds taken on one Python object while a call runs on it: any number
// of shared holds, or one exclusive hold. Only touched with the GIL held.
class BorrowFlag {
 public:
  bool try_shared() {
    if (state_ == kExclusive) return false;
    ++state_;
    return true;
  }
  void release_shared() { --state_; }
  bool try_exclusive() {
    if (state_ != 0) return false;
    state_ = kExclusive;
    return true;
  }
  void release_exclusive() { state_ = 0; }

 private:
  static constexpr std::int64_t kExclusive = -1;
  std::int64_t state_ = 0;  // number of shared holds, or kExclusive
};

// A shared hold for the length of a call. When the object is exclusively
// held, no hold is taken and RuntimeError "Already mutably borrowed" is
// raised: test held() first.
class SharedHold {
 public:
  explicit SharedHold(BorrowFlag& flag) : flag_(flag), held_(flag.try_shared()) {
    if (!held_) PyErr_SetString(PyExc_RuntimeError, "Already mutably borrowed");
  }
  SharedHold(const SharedHold&) = delete;
  SharedHold& operator=(const SharedHold&) = delete;
  ~SharedHold() {
    if (held_) flag_.release_shared();
  }
  bool held() const { return held_; }

 private:
  BorrowFlag& flag_;
  bool held_;
};

// An exclusive hold for the length of a call. When any hold is taken
// already, RuntimeError "Already borrowed" is raised instead.
class ExclusiveHold {
 public:
  explicit ExclusiveHold(BorrowFlag& flag) : flag_(flag), held_(flag.try_exclusive()) {
    if (!held_) PyErr_SetString(PyExc_RuntimeError, "Already borrowed");
  }
  ExclusiveHold(const ExclusiveHold&) = delete;
  ExclusiveHold& operator=(const ExclusiveHold&) = delete;
  ~ExclusiveHold() {
    if (held_) flag_.release_exclusive();
  }
  bool held() const { return held_; }

 private:
  BorrowFlag& flag_;
  bool held_;
};

}  // namespace zelvo::python
