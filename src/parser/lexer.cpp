#include "parser/lexer.h"

#include <array>
#include <cstring>

#include "parser/keyword_table.h"

namespace zelvo {

namespace {

// What the first byte of a token decides: a one-byte token's kind (below
// kTokenKindCount) or one of these rules.
enum Rule : std::uint8_t {
  kWord = kTokenKindCount,  // identifier or keyword
  kWhitespace,
  kDot,
  kPlus,
  kMinus,
  kLess,
  kGreater,
  kBang,
  kSlash,
  kQuote,  // ' or "
  kBacktick,
  kDigit,
  kOther,  // begins no token: an error character
};

struct ByteTables {
  std::array<std::uint8_t, 256> first_byte{};  // a Token kind or a Rule
  std::array<bool, 256> identifier_byte{};
  std::array<bool, 256> whitespace{};
};

constexpr ByteTables build_byte_tables() {
  ByteTables t;
  for (auto& rule : t.first_byte) rule = kOther;
  for (const unsigned char b : {9, 10, 12, 13, 32}) {
    t.first_byte[b] = kWhitespace;
    t.whitespace[b] = true;
  }
  constexpr std::pair<char, Token> kSingles[] = {
      {'(', Token::LParen},    {')', Token::RParen}, {'[', Token::LBracket}, {']', Token::RBracket},
      {'{', Token::LBrace},    {'}', Token::RBrace}, {',', Token::Comma},    {':', Token::Colon},
      {';', Token::Semicolon}, {'|', Token::Pipe},   {'$', Token::Dollar},   {'*', Token::Star},
      {'%', Token::Percent},   {'^', Token::Caret},  {'=', Token::Eq},
  };
  for (const auto& [byte, kind] : kSingles) t.first_byte[static_cast<unsigned char>(byte)] = static_cast<std::uint8_t>(kind);
  constexpr std::pair<char, Rule> kRules[] = {
      {'.', kDot},   {'+', kPlus},   {'-', kMinus}, {'<', kLess},     {'>', kGreater},
      {'!', kBang},  {'/', kSlash},  {'\'', kQuote}, {'"', kQuote},   {'`', kBacktick},
  };
  for (const auto& [byte, rule] : kRules) t.first_byte[static_cast<unsigned char>(byte)] = rule;
  for (unsigned b = '0'; b <= '9'; ++b) {
    t.first_byte[b] = kDigit;
    t.identifier_byte[b] = true;
  }
  for (unsigned b = 'a'; b <= 'z'; ++b) {
    for (const unsigned letter : {b, b - 'a' + 'A'}) {
      t.first_byte[letter] = kWord;
      t.identifier_byte[letter] = true;
    }
  }
  t.first_byte['_'] = kWord;
  t.identifier_byte['_'] = true;
  return t;
}

constexpr ByteTables kTables = build_byte_tables();

inline unsigned char byte_at(std::string_view text, std::size_t i) { return static_cast<unsigned char>(text[i]); }

inline bool is_digit(unsigned char b) { return b - static_cast<unsigned>('0') < 10u; }

inline void frame(Lexer& lexer, std::uint8_t outcome, std::size_t start, std::size_t end) {
  lexer.token_start = start;
  lexer.position = end;
  lexer.outcome = outcome;
}

inline void frame(Lexer& lexer, Token kind, std::size_t start, std::size_t end) {
  frame(lexer, static_cast<std::uint8_t>(kind), start, end);
}

inline void frame_error(Lexer& lexer, std::size_t start, std::size_t end) { frame(lexer, Lexer::kError, start, end); }

// The end of the UTF-8 character whose first byte is at `i`: the byte and
// the continuation bytes (128-191) after it.
std::size_t character_end(std::string_view text, std::size_t i) {
  ++i;
  while (i < text.size() && (byte_at(text, i) & 0xC0u) == 0x80u) ++i;
  return i;
}

std::size_t digits_end(std::string_view text, std::size_t i) {
  while (i < text.size() && is_digit(byte_at(text, i))) ++i;
  return i;
}

bool next_is(std::string_view text, std::size_t pos, char c) { return pos + 1 < text.size() && text[pos + 1] == c; }

// A string between quotes; a backslash takes the character after it, so an
// escaped quote does not end the string.
void lex_string(Lexer& lexer, std::size_t start) {
  const std::string_view text = lexer.source;
  const char quote = text[start];
  std::size_t i = start + 1;
  while (i < text.size()) {
    const char c = text[i];
    if (c == quote) {
      return frame(lexer, quote == '\'' ? Token::SingleQuotedString : Token::DoubleQuotedString, start, i + 1);
    }
    if (c == '\\') {
      // A backslash at the very end is left to become an error of its own.
      if (i + 1 == text.size()) return frame_error(lexer, start, i);
      i = character_end(text, i + 1);
    } else {
      ++i;
    }
  }
  frame_error(lexer, start, text.size());
}

// Digits, then a fraction only when "." is followed by a digit, then an
// exponent only after a fraction and only when digits follow it.
void lex_number(Lexer& lexer, std::size_t start) {
  const std::string_view text = lexer.source;
  std::size_t i = digits_end(text, start + 1);
  if (!(i + 1 < text.size() && text[i] == '.' && is_digit(byte_at(text, i + 1)))) {
    return frame(lexer, Token::Integer, start, i);
  }
  i = digits_end(text, i + 2);
  if (i < text.size() && (byte_at(text, i) | 0x20u) == 'e') {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && is_digit(byte_at(text, j))) i = digits_end(text, j + 1);
  }
  frame(lexer, Token::Float, start, i);
}

// An operator of up to two bytes, a string, a quoted identifier, a number or
// an error character at `pos`.
void lex_operator_or_literal(Lexer& lexer, std::size_t pos) {
  const std::string_view text = lexer.source;
  switch (kTables.first_byte[byte_at(text, pos)]) {
    case kDot:
      return next_is(text, pos, '.') ? frame(lexer, Token::DotDot, pos, pos + 2) : frame(lexer, Token::Dot, pos, pos + 1);
    case kPlus:
      return next_is(text, pos, '=') ? frame(lexer, Token::PlusEq, pos, pos + 2) : frame(lexer, Token::Plus, pos, pos + 1);
    case kMinus:
      if (next_is(text, pos, '-')) return frame(lexer, Token::DoubleMinus, pos, pos + 2);
      if (next_is(text, pos, '>')) return frame(lexer, Token::Arrow, pos, pos + 2);
      return frame(lexer, Token::Minus, pos, pos + 1);
    case kLess:
      if (next_is(text, pos, '=')) return frame(lexer, Token::Le, pos, pos + 2);
      if (next_is(text, pos, '>')) return frame(lexer, Token::Ne, pos, pos + 2);
      if (next_is(text, pos, '-')) return frame(lexer, Token::LeftArrow, pos, pos + 2);
      return frame(lexer, Token::Lt, pos, pos + 1);
    case kGreater:
      return next_is(text, pos, '=') ? frame(lexer, Token::Ge, pos, pos + 2) : frame(lexer, Token::Gt, pos, pos + 1);
    case kBang:
      return next_is(text, pos, '=') ? frame(lexer, Token::Ne2, pos, pos + 2) : frame_error(lexer, pos, pos + 1);
    case kQuote:
      return lex_string(lexer, pos);
    case kBacktick: {
      const std::size_t close = text.find('`', pos + 1);
      if (close == std::string_view::npos) return frame_error(lexer, pos, text.size());
      return frame(lexer, Token::QuotedIdentifier, pos, close + 1);
    }
    case kDigit:
      return lex_number(lexer, pos);
    case kSlash:
      return frame(lexer, Token::Slash, pos, pos + 1);
    default:
      return frame_error(lexer, pos, character_end(text, pos));
  }
}

// Everything but whitespace, words and one-byte tokens, starting at `pos`:
// operators of up to two bytes, strings, quoted identifiers, numbers, error
// characters, the end of input and comments. Returns false after skipping a
// comment (the position is then past it), true when it framed an outcome.
[[gnu::noinline]] bool lex_other(Lexer& lexer, std::size_t pos) {
  const std::string_view text = lexer.source;
  if (pos >= text.size()) {
    frame(lexer, Lexer::kEndOfInput, text.size(), text.size());
    return true;
  }
  if (text[pos] == '/' && next_is(text, pos, '/')) {
    // Up to the next LF, which stays for the whitespace rule.
    const void* lf = std::memchr(text.data() + pos, '\n', text.size() - pos);
    lexer.position = lf == nullptr ? text.size() : static_cast<std::size_t>(static_cast<const char*>(lf) - text.data());
    return false;
  }
  if (text[pos] == '/' && next_is(text, pos, '*')) {
    // Up to and including the first "*/" after the opening "/*".
    const std::size_t close = text.find("*/", pos + 2);
    if (close == std::string_view::npos) {
      frame_error(lexer, pos, text.size());
      return true;
    }
    lexer.position = close + 2;
    return false;
  }
  lex_operator_or_literal(lexer, pos);
  return true;
}

}  // namespace

// The hot path: whitespace, one-byte tokens and words; the rest goes to
// lex_other.
void lex_next_token(Lexer& lexer) {
  const std::string_view text = lexer.source;
  do {
    std::size_t pos = lexer.position;
    while (pos < text.size() && kTables.whitespace[byte_at(text, pos)]) ++pos;
    if (pos < text.size()) {
      const std::uint8_t rule = kTables.first_byte[byte_at(text, pos)];
      if (rule < kTokenKindCount) return frame(lexer, rule, pos, pos + 1);
      if (rule == kWord) {
        std::size_t end = pos + 1;
        while (end < text.size() && kTables.identifier_byte[byte_at(text, end)]) ++end;
        return frame(lexer, token_table::keyword_or_identifier(text.substr(pos, end - pos)), pos, end);
      }
    }
    lexer.position = pos;
  } while (!lex_other(lexer, lexer.position));
}

}  // namespace zelvo
