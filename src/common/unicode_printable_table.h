#pragma once

#include <cstddef>

namespace zelvo::unicode {

struct CodePointRange {
  char32_t low;
  char32_t high;  // inclusive
};

// Sorted, disjoint ranges of the code points that debug text escapes.
extern const CodePointRange kDebugEscapedRanges[];
extern const std::size_t kDebugEscapedRangeCount;

}  // namespace zelvo::unicode
