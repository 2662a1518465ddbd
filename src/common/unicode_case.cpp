#include "common/unicode_case.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "common/unicode_case_tables.h"

namespace zelvo::unicode {
namespace {

using detail::CaseExpansion;
using detail::CaseRun;
using detail::CodePointRange;

constexpr char32_t kCapitalSigma = 0x03A3;
constexpr char kSmallSigma[] = "\xCF\x83";       // U+03C3
constexpr char kSmallFinalSigma[] = "\xCF\x82";  // U+03C2

unsigned char byte_at(std::string_view text, std::size_t i) { return static_cast<unsigned char>(text[i]); }

bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes the well-formed UTF-8 sequence at the start of non-empty `bytes`.
// Returns its length (1 to 4), or 0 if the leading bytes are not well-formed:
// a stray continuation byte, an overlong form, a surrogate, a value above
// U+10FFFF, or a sequence cut short.
std::size_t decode(std::string_view bytes, char32_t& cp) {
  const unsigned char lead = byte_at(bytes, 0);
  if (lead < 0x80) {
    cp = lead;
    return 1;
  }
  std::size_t length = 0;
  char32_t value = 0;
  // Allowed range of the second byte; it is narrower than 80..BF after some
  // lead bytes to exclude overlong forms, surrogates and values past U+10FFFF.
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (bytes.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char byte = byte_at(bytes, i);
    if (byte < low || byte > high) return 0;
    low = 0x80;
    high = 0xBF;
    value = (value << 6) | (byte & 0x3Fu);
  }
  cp = value;
  return length;
}

// Decodes the well-formed UTF-8 sequence that ends at `end` (> 0) in `text`.
// Returns its length, or 0 if the byte before `end` does not end one.
std::size_t decode_before(std::string_view text, std::size_t end, char32_t& cp) {
  std::size_t start = end - 1;
  while (start > 0 && end - start < 4 && is_continuation(byte_at(text, start))) {
    --start;
  }
  const std::size_t length = decode(text.substr(start, end - start), cp);
  return length == end - start ? length : 0;
}

void append_utf8(std::string& out, char32_t cp) {
  char buffer[4];
  std::size_t length = 0;
  if (cp < 0x80) {
    buffer[length++] = static_cast<char>(cp);
  } else if (cp < 0x800) {
    buffer[length++] = static_cast<char>(0xC0 | (cp >> 6));
    buffer[length++] = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    buffer[length++] = static_cast<char>(0xE0 | (cp >> 12));
    buffer[length++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    buffer[length++] = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    buffer[length++] = static_cast<char>(0xF0 | (cp >> 18));
    buffer[length++] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    buffer[length++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    buffer[length++] = static_cast<char>(0x80 | (cp & 0x3F));
  }
  out.append(buffer, length);
}

bool in_ranges(std::span<const CodePointRange> ranges, char32_t cp) {
  const auto after = std::upper_bound(ranges.begin(), ranges.end(), cp,
                                      [](char32_t value, const CodePointRange& range) { return value < range.first; });
  return after != ranges.begin() && cp <= (after - 1)->last;
}

bool is_cased(char32_t cp) { return in_ranges(detail::kCased, cp); }
bool is_case_ignorable(char32_t cp) { return in_ranges(detail::kCaseIgnorable, cp); }

// Appends the mapping of `cp` found in `runs` or `expansions`. Returns false,
// appending nothing, if `cp` maps to itself.
bool append_mapping(std::string& out, char32_t cp, std::span<const CaseRun> runs,
                    std::span<const CaseExpansion> expansions) {
  const auto run_after = std::upper_bound(runs.begin(), runs.end(), cp,
                                          [](char32_t value, const CaseRun& run) { return value < run.first; });
  if (run_after != runs.begin()) {
    const CaseRun& run = *(run_after - 1);
    const char32_t offset = cp - run.first;
    if (offset % run.stride == 0 && offset / run.stride < run.count) {
      append_utf8(out, static_cast<char32_t>(static_cast<std::int32_t>(cp) + run.delta));
      return true;
    }
  }
  const auto expansion =
      std::lower_bound(expansions.begin(), expansions.end(), cp,
                       [](const CaseExpansion& entry, char32_t value) { return entry.code_point < value; });
  if (expansion == expansions.end() || expansion->code_point != cp) return false;
  for (const char32_t mapped : expansion->mapping) {
    if (mapped != 0) append_utf8(out, mapped);
  }
  return true;
}

// Whether the first character before `pos` that is not case-ignorable exists
// and is cased. Malformed bytes count as neither.
bool cased_before(std::string_view text, std::size_t pos) {
  while (pos > 0) {
    char32_t cp = 0;
    const std::size_t length = decode_before(text, pos, cp);
    if (length == 0) return false;
    if (!is_case_ignorable(cp)) return is_cased(cp);
    pos -= length;
  }
  return false;
}

// Like cased_before, looking at the characters from `pos` on.
bool cased_after(std::string_view text, std::size_t pos) {
  while (pos < text.size()) {
    char32_t cp = 0;
    const std::size_t length = decode(text.substr(pos), cp);
    if (length == 0) return false;
    if (!is_case_ignorable(cp)) return is_cased(cp);
    pos += length;
  }
  return false;
}

// ASCII case change of eight bytes at once (SWAR). Every byte of `word` must
// be below 0x80; bytes in [low, high] get bit 0x20 flipped. Adding
// 0x80 - low to a byte sets its top bit iff the byte is >= low, adding
// 0x7F - high sets it iff the byte is > high; no sum carries into the next
// byte, so the byte order of the load does not matter.
std::uint64_t flip_ascii_case(std::uint64_t word, unsigned char low, unsigned char high) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kTopBits = kOnes * 0x80u;
  const std::uint64_t at_least_low = word + kOnes * (0x80u - low);
  const std::uint64_t above_high = word + kOnes * (0x7Fu - high);
  return word ^ ((at_least_low & ~above_high & kTopBits) >> 2);
}

enum class Direction { kLower, kUpper };

std::string change_case(std::string_view text, Direction direction) {
  const bool lower = direction == Direction::kLower;
  const unsigned char low = lower ? 'A' : 'a';
  const unsigned char high = lower ? 'Z' : 'z';
  const std::span<const CaseRun> runs = lower ? detail::kLowerRuns : detail::kUpperRuns;
  const std::span<const CaseExpansion> expansions = lower ? detail::kLowerExpansions : detail::kUpperExpansions;

  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    // ASCII fast path: eight bytes per step while they are all ASCII, then
    // single bytes; neither touches the tables.
    if (text.size() - i >= 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, text.data() + i, sizeof word);
      if ((word & 0x8080808080808080u) == 0) {
        word = flip_ascii_case(word, low, high);
        char bytes[8];
        std::memcpy(bytes, &word, sizeof bytes);
        out.append(bytes, sizeof bytes);
        i += 8;
        continue;
      }
    }
    const unsigned char byte = byte_at(text, i);
    if (byte < 0x80) {
      out.push_back(static_cast<char>(byte >= low && byte <= high ? byte ^ 0x20u : byte));
      ++i;
      continue;
    }

    char32_t cp = 0;
    const std::size_t length = decode(text.substr(i), cp);
    if (length == 0) {
      out.push_back(text[i]);  // malformed: copied as is
      ++i;
      continue;
    }
    if (lower && cp == kCapitalSigma) {
      const bool word_final = cased_before(text, i) && !cased_after(text, i + length);
      out.append(word_final ? kSmallFinalSigma : kSmallSigma);
    } else if (!append_mapping(out, cp, runs, expansions)) {
      out.append(text.substr(i, length));
    }
    i += length;
  }
  return out;
}

}  // namespace

std::string to_lower(std::string_view text) { return change_case(text, Direction::kLower); }

std::string to_upper(std::string_view text) { return change_case(text, Direction::kUpper); }

bool is_white_space(char32_t cp) {
  if (cp < 0x80) return cp == ' ' || (cp >= '\t' && cp <= '\r');
  return in_ranges(detail::kWhiteSpace, cp);
}

std::string_view trim_white_space(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size()) {
    char32_t cp = 0;
    const std::size_t length = decode(text.substr(begin), cp);
    if (length == 0 || !is_white_space(cp)) break;
    begin += length;
  }
  text.remove_prefix(begin);
  std::size_t end = text.size();
  while (end > 0) {
    char32_t cp = 0;
    const std::size_t length = decode_before(text, end, cp);
    if (length == 0 || !is_white_space(cp)) break;
    end -= length;
  }
  return text.substr(0, end);
}

}  // namespace zelvo::unicode
