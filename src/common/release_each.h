#pragma once

#include <memory>
#include <utility>
#include <vector>

namespace zelvo {

// Calls `visit(object)` for each handle's object in order, releasing each
// handle as soon as its visit returns. A listing walked this way holds only
// the entry at hand, so an object that its owner drops meanwhile is freed
// then rather than when the whole walk ends.
template <typename T, typename Visit>
void release_each(std::vector<std::shared_ptr<T>> handles, Visit&& visit) {
  for (std::shared_ptr<T>& slot : handles) {
    const std::shared_ptr<T> handle = std::move(slot);
    visit(*handle);
  }
}

}  // namespace zelvo
