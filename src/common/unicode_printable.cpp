#include "common/unicode_printable.h"

#include <algorithm>

#include "common/unicode_printable_table.h"

namespace zelvo::unicode {

bool needs_debug_escape(char32_t code_point) {
  const CodePointRange* begin = kDebugEscapedRanges;
  const CodePointRange* end = kDebugEscapedRanges + kDebugEscapedRangeCount;
  // The first range whose upper end is at or above the code point.
  const CodePointRange* range =
      std::lower_bound(begin, end, code_point, [](const CodePointRange& r, char32_t cp) { return r.high < cp; });
  return range != end && range->low <= code_point;
}

}  // namespace zelvo::unicode
