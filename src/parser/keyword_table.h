#pragma once

// The token names and the keyword lookup table (internal to the parser
// library): token.cpp and the lexer share them, and the lexer inlines the
// lookup.

#include <array>
#include <cstddef>
#include <cstdint>
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

// Keyword lookup. A word is packed into a key of two 64-bit halves: its
// bytes folded with 0x20, in little-endian order, zero past its end. Folding
// lower-cases ASCII letters and keeps digits; "_" folds to a byte that no
// keyword text contains, and no folded byte is zero, so two words have equal
// keys exactly when they are equal after folding. A multiplicative hash of
// the first half, chosen at compile time so that no two keywords share a
// slot, names the one keyword a word can be; comparing the keys decides.
constexpr std::size_t kMaxKeywordLength = 11;

struct KeywordKey {
  std::uint64_t head = 0;  // bytes 0-7
  std::uint64_t tail = 0;  // bytes 8-15
};

inline constexpr std::uint64_t kFoldBytes = 0x2020202020202020u;

// The key of a word of at most 16 bytes.
constexpr KeywordKey keyword_key(std::string_view word) {
  KeywordKey key;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const std::uint64_t folded = static_cast<unsigned char>(word[i]) | 0x20u;
    (i < 8 ? key.head : key.tail) |= folded << (8 * (i % 8));
  }
  return key;
}

// A keyword's key, with the tail narrowed to the three bytes it can hold.
struct KeywordEntry {
  std::uint64_t head = 0;
  std::uint32_t tail = 0;
  Token kind = Token::Identifier;
};
static_assert(kMaxKeywordLength <= 12, "a keyword's tail must fit 32 bits");

constexpr std::string_view keyword_text(std::size_t index) {
  std::string_view name = kTokenNames[index];
  if (name == "None_") name = "none";
  if (index >= static_cast<std::size_t>(Token::TypeString)) name.remove_prefix(4);  // "Type"
  return name;
}

constexpr KeywordEntry keyword_entry(std::size_t index) {
  const KeywordKey key = keyword_key(keyword_text(index));
  return {key.head, static_cast<std::uint32_t>(key.tail), static_cast<Token>(index)};
}

constexpr unsigned kSlotBits = 11;
constexpr std::size_t kSlotCount = std::size_t{1} << kSlotBits;

constexpr std::size_t slot_of(std::uint64_t head, std::uint64_t multiplier) {
  return static_cast<std::size_t>((head * multiplier) >> (64 - kSlotBits));
}

constexpr bool places_apart(std::uint64_t multiplier) {
  std::array<bool, kSlotCount> taken{};
  for (std::size_t i = 0; i < kKeywordCount; ++i) {
    const std::size_t slot = slot_of(keyword_entry(i).head, multiplier);
    if (taken[slot]) return false;
    taken[slot] = true;
  }
  return true;
}

// The first odd multiplier of a fixed pseudo-random sequence that gives every
// keyword a slot of its own; 0 when none of the first thousand does.
constexpr std::uint64_t find_multiplier() {
  std::uint64_t state = 0x9E3779B97F4A7C15u;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    const std::uint64_t candidate = (state ^ (state >> 29)) | 1u;
    if (places_apart(candidate)) return candidate;
  }
  return 0;
}

struct KeywordTable {
  std::uint64_t multiplier = 0;
  // Entry 0 has an all-zero key, which no non-empty word has.
  std::array<KeywordEntry, kKeywordCount + 1> entries{};
  std::array<std::uint8_t, kSlotCount> entry_at_slot{};  // 0 for a free slot
};

constexpr KeywordTable build_keyword_table() {
  KeywordTable table;
  table.multiplier = find_multiplier();
  for (std::size_t i = 0; i < kKeywordCount; ++i) {
    table.entries[i + 1] = keyword_entry(i);
    table.entry_at_slot[slot_of(table.entries[i + 1].head, table.multiplier)] = static_cast<std::uint8_t>(i + 1);
  }
  return table;
}

constexpr bool keyword_texts_are_well_formed() {
  for (std::size_t i = 0; i < kKeywordCount; ++i) {
    const std::string_view text = keyword_text(i);
    if (text.size() < 2 || text.size() > kMaxKeywordLength) return false;
    for (const char c : text) {
      if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    }
  }
  return true;
}

static_assert(keyword_texts_are_well_formed());

inline constexpr KeywordTable kKeywordTable = build_keyword_table();
static_assert(kKeywordTable.multiplier != 0, "no multiplier keeps the keywords apart");

// The keyword kind of a word's key, or Identifier. The word must be at most
// kMaxKeywordLength bytes long.
inline Token keyword_of_key(KeywordKey key) {
  const std::size_t slot = slot_of(key.head, kKeywordTable.multiplier);
  const KeywordEntry& entry = kKeywordTable.entries[kKeywordTable.entry_at_slot[slot]];
  // Selected without a branch: whether a word is a keyword is hard to predict.
  const bool same = ((entry.head ^ key.head) | (entry.tail ^ key.tail)) == 0;
  const auto kind = static_cast<std::uint8_t>(entry.kind);
  const auto identifier = static_cast<std::uint8_t>(Token::Identifier);
  return static_cast<Token>(identifier ^ ((kind ^ identifier) & -static_cast<std::uint8_t>(same)));
}

// The keyword kind of an identifier-shaped word, or Identifier.
inline Token keyword_or_identifier(std::string_view word) {
  if (word.size() > kMaxKeywordLength) return Token::Identifier;
  return keyword_of_key(keyword_key(word));
}

}  // namespace zelvo::token_table
