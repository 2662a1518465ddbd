#pragma once

namespace zelvo {

// Deletes `node` and the chain of nodes below it by a loop: `release_next`
// takes the next node of the chain out of its owner (leaving the owner's
// pointer empty) before the owner is deleted. Trees whose nodes chain
// through one child for as long as a statement is long (operator chains,
// plan inputs, EXPLAIN EXPLAIN ...) delete themselves this way, so that
// their depth costs no stack; the other children of each node go by their
// own deleters.
template <typename T, typename ReleaseNext>
void delete_chain(T* node, ReleaseNext release_next) noexcept {
  while (node != nullptr) {
    T* next = release_next(*node);
    delete node;
    node = next;
  }
}

}  // namespace zelvo
