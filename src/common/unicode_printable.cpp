#include "common/unicode_printable.h"

namespace zelvo::unicode {

bool needs_debug_escape(char32_t cp) {
  if (cp < 0x20 || (cp >= 0x7f && cp <= 0xa0)) return true;
  if (cp == 0xad) return true;
  if (cp >= 0x2000 && cp <= 0x200f) return true;
  if (cp >= 0x2028 && cp <= 0x202f) return true;
  if (cp >= 0x205f && cp <= 0x206f) return true;
  if (cp == 0x3000 || cp == 0xfeff) return true;
  if (cp >= 0xd800 && cp <= 0xdfff) return true;
  return false;
}

}  // namespace zelvo::unicode
