// Internal: Unicode case tables used by unicode_case.cpp. The definitions live
// in unicode_case_tables_generated.cpp, written by scripts/gen_unicode_case.py.
// Every table is sorted by code point and has no overlapping entries.
#pragma once

#include <cstdint>
#include <span>

namespace zelvo::unicode::detail {

// `count` code points first, first + stride, ..., each mapping to itself + delta.
struct CaseRun {
  char32_t first;
  std::uint16_t count;
  std::uint8_t stride;  // 1 or 2
  std::int32_t delta;
};

// A code point whose mapping has two or three code points (unused slots are 0).
struct CaseExpansion {
  char32_t code_point;
  char32_t mapping[3];
};

// Inclusive range of code points.
struct CodePointRange {
  char32_t first;
  char32_t last;
};

// Full lowercase and uppercase mappings. A code point absent from both the run
// table and the expansion table maps to itself.
extern const std::span<const CaseRun> kLowerRuns;
extern const std::span<const CaseExpansion> kLowerExpansions;
extern const std::span<const CaseRun> kUpperRuns;
extern const std::span<const CaseExpansion> kUpperExpansions;

// The Cased, Case_Ignorable and White_Space properties.
extern const std::span<const CodePointRange> kCased;
extern const std::span<const CodePointRange> kCaseIgnorable;
extern const std::span<const CodePointRange> kWhiteSpace;

// Unicode version the tables were generated from, e.g. "15.0.0".
extern const char kUnicodeVersion[];

}  // namespace zelvo::unicode::detail
