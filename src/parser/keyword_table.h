#pragma once

// The token names and the keyword lookup table (internal to the parser
// library): token.cpp and the lexer share them, and the lexer inlines the
// lookup.

#include <array>
#include <cstddef>
#include <string_view>

#include "parser/token.h"

namespace zelvo::token_table {

inline constexpr std::array<std::string_view, kTokenKindCount> kTokenNames = {
    "Match",      "Optional",   "Where",      "Return",      "Create",     "Delete",
    "Detach",     "Set",        "Remove",     "Merge",       "Call",       "On",
    "With",       "Recursive",  "Unwind",     "Foreach",     "As",         "Order",
    "By",         "Asc",        "Desc",       "Ascending",   "Descending", "Over",
    "Partition",  "Rows",       "Range",      "Unbounded",   "Preceding",  "Following",
    "Current",    "Row",        "Skip",       "Limit",       "Distinct",   "Union",
    "All",        "Case",       "When",       "Then",        "Else",       "End",
    "And",        "Or",         "Xor",        "Not",         "In",         "Is",
    "Null",       "True",       "False",      "Exists",      "Contains",   "Starts",
    "Ends",       "Any",        "None_",      "Single",      "Node",       "Rel",
    "Table",      "Drop",       "If",         "Index",       "Unique",     "Primary",
    "Key",        "From",       "To",         "Copy",        "Explain",    "Analyze",
    "Profile",    "Logical",    "Load",       "Alter",       "Add",        "Column",
    "Rename",     "Sequence",   "Increment",  "MinValue",    "MaxValue",   "Cycle",
    "Attach",     "Database",   "Start",      "Use",         "Export",     "Import",
    "Macro",      "Type",       "Enum",       "Begin",       "Commit",     "Rollback",
    "Transaction", "Read",      "Only",
    // Type keywords.
    "TypeString", "TypeInt8",   "TypeInt16",  "TypeInt32",   "TypeInt64",  "TypeInt128",
    "TypeUInt8",  "TypeUInt16", "TypeUInt32", "TypeUInt64",  "TypeFloat",  "TypeFloat32",
    "TypeFloat64", "TypeDouble", "TypeBool",  "TypeBoolean", "TypeDate",   "TypeTimestamp",
    "TypeInterval", "TypeBlob", "TypeUuid",   "TypeSerial",
    // Punctuation and operators.
    "LParen",     "RParen",     "LBracket",   "RBracket",    "LBrace",     "RBrace",
    "Comma",      "Colon",      "Semicolon",  "Dot",         "DotDot",     "Pipe",
    "Dollar",     "Star",       "Plus",       "Minus",       "Slash",      "Percent",
    "Caret",      "Eq",         "Ne",         "Ne2",         "Lt",         "Le",
    "Gt",         "Ge",         "PlusEq",     "Arrow",       "LeftArrow",  "DoubleMinus",
    // Names and literals.
    "Identifier", "QuotedIdentifier", "Integer", "Float", "SingleQuotedString", "DoubleQuotedString",
};

static_assert(kTokenNames[static_cast<std::size_t>(Token::Only)] == "Only");
static_assert(kTokenNames[static_cast<std::size_t>(Token::TypeSerial)] == "TypeSerial");
static_assert(kTokenNames[static_cast<std::size_t>(Token::DoubleMinus)] == "DoubleMinus");
static_assert(kTokenNames[kTokenKindCount - 1] == "DoubleQuotedString");

// Keyword lookup. The keyword texts are derived from the kind names; they
// are grouped into buckets by first letter and length, so a word is compared
// with at most a handful of candidates, byte by byte with ASCII folding.
constexpr std::size_t kMaxKeywordLength = 11;
constexpr std::size_t kLengthSlots = kMaxKeywordLength + 1;
constexpr std::size_t kBucketCount = 26 * kLengthSlots;

struct KeywordEntry {
  std::array<char, kMaxKeywordLength> text{};
  std::size_t length = 0;
  Token kind = Token::Identifier;
};

struct KeywordTable {
  std::array<KeywordEntry, kKeywordCount> entries{};
  // Bucket b holds entries [bucket_start[b], bucket_start[b + 1]).
  std::array<std::uint8_t, kBucketCount + 1> bucket_start{};
};

constexpr char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr KeywordEntry keyword_entry(std::size_t index) {
  std::string_view name = kTokenNames[index];
  if (name == "None_") name = "none";
  if (index >= static_cast<std::size_t>(Token::TypeString)) name.remove_prefix(4);  // "Type"
  KeywordEntry entry;
  entry.length = name.size();
  entry.kind = static_cast<Token>(index);
  for (std::size_t i = 0; i < name.size() && i < kMaxKeywordLength; ++i) entry.text[i] = ascii_lower(name[i]);
  return entry;
}

constexpr std::size_t bucket_of(char first_lower, std::size_t length) {
  return static_cast<std::size_t>(first_lower - 'a') * kLengthSlots + length;
}

constexpr KeywordTable build_keyword_table() {
  KeywordTable table;
  std::array<std::size_t, kBucketCount + 1> counts{};
  for (std::size_t i = 0; i < kKeywordCount; ++i) {
    const KeywordEntry entry = keyword_entry(i);
    ++counts[bucket_of(entry.text[0], entry.length) + 1];
  }
  for (std::size_t b = 1; b <= kBucketCount; ++b) counts[b] += counts[b - 1];
  for (std::size_t b = 0; b <= kBucketCount; ++b) table.bucket_start[b] = static_cast<std::uint8_t>(counts[b]);
  for (std::size_t i = 0; i < kKeywordCount; ++i) {
    const KeywordEntry entry = keyword_entry(i);
    table.entries[counts[bucket_of(entry.text[0], entry.length)]++] = entry;
  }
  return table;
}

constexpr bool keyword_texts_are_well_formed() {
  std::array<KeywordEntry, kKeywordCount> entries{};
  for (std::size_t i = 0; i < kKeywordCount; ++i) entries[i] = keyword_entry(i);
  for (std::size_t i = 0; i < kKeywordCount; ++i) {
    const KeywordEntry& entry = entries[i];
    if (entry.length < 2 || entry.length > kMaxKeywordLength) return false;
    if (entry.text[0] < 'a' || entry.text[0] > 'z') return false;
    for (std::size_t j = i + 1; j < kKeywordCount; ++j) {
      if (entries[j].length == entry.length && entries[j].text == entry.text) return false;
    }
  }
  return true;
}

static_assert(keyword_texts_are_well_formed());

inline constexpr KeywordTable kKeywordTable = build_keyword_table();

// The keyword kind of an identifier-shaped word, or Identifier.
inline Token keyword_or_identifier(std::string_view word) {
  const std::size_t length = word.size();
  if (length < 2 || length > kMaxKeywordLength) return Token::Identifier;
  // Folding with 0x20 lower-cases ASCII letters and keeps digits; "_" folds
  // to a byte that no keyword text contains.
  const unsigned first = (static_cast<unsigned char>(word[0]) | 0x20u) - static_cast<unsigned>('a');
  if (first >= 26) return Token::Identifier;
  const std::size_t bucket = first * kLengthSlots + length;
  for (std::size_t e = kKeywordTable.bucket_start[bucket]; e < kKeywordTable.bucket_start[bucket + 1]; ++e) {
    const KeywordEntry& entry = kKeywordTable.entries[e];
    std::size_t i = 1;
    while (i < length && (static_cast<unsigned char>(word[i]) | 0x20u) == static_cast<unsigned char>(entry.text[i])) ++i;
    if (i == length) return entry.kind;
  }
  return Token::Identifier;
}

}  // namespace zelvo::token_table
