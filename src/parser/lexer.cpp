#include "parser/lexer.h"

#include <array>
#include <bit>
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
  for (unsigned b = '0'; b <= '9'; ++b) t.first_byte[b] = kDigit;
  for (unsigned b = 'a'; b <= 'z'; ++b) {
    for (const unsigned letter : {b, b - 'a' + 'A'}) t.first_byte[letter] = kWord;
  }
  t.first_byte['_'] = kWord;
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
bool lex_other(Lexer& lexer, std::size_t pos) {
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

// Words are scanned eight bytes at a time. A chunk holds eight bytes of the
// text, byte i in bits 8i to 8i+7; bytes past the end of the text read as
// zero, which is no identifier byte.
inline std::uint64_t load_chunk(std::string_view text, std::size_t pos) {
  std::uint64_t chunk = 0;
  if (text.size() - pos >= 8) {
    std::memcpy(&chunk, text.data() + pos, 8);
    if constexpr (std::endian::native == std::endian::big) chunk = __builtin_bswap64(chunk);
  } else {
    for (std::size_t i = pos; i < text.size(); ++i) chunk |= std::uint64_t{byte_at(text, i)} << (8 * (i - pos));
  }
  return chunk;
}

constexpr std::uint64_t kEveryByte = 0x0101010101010101u;
constexpr std::uint64_t kHighBits = 0x8080808080808080u;

// The high bit of every byte of `chunk` whose low seven bits lie in
// [low, high] (high < 0x80). Setting each byte's high bit first keeps the
// subtractions from borrowing across bytes.
constexpr std::uint64_t bytes_in_range(std::uint64_t chunk, unsigned low, unsigned high) {
  const std::uint64_t raised = chunk | kHighBits;
  return (raised - kEveryByte * low) & ~(raised - kEveryByte * (high + 1)) & kHighBits;
}

// The high bit of every byte of `chunk` that is no identifier byte (bytes of
// 0x80 and above included).
constexpr std::uint64_t non_identifier_bytes(std::uint64_t chunk) {
  const std::uint64_t identifier = bytes_in_range(chunk, '0', '9') |
                                   bytes_in_range(chunk | token_table::kFoldBytes, 'a', 'z') |
                                   bytes_in_range(chunk, '_', '_');
  return ~(identifier & ~chunk) & kHighBits;
}

// The number of bytes before the first marked byte of a non-zero mark.
inline std::size_t bytes_before(std::uint64_t marks) { return static_cast<std::size_t>(std::countr_zero(marks)) / 8; }

// The first `count` bytes (1 to 8) of `chunk`, the others zero.
constexpr std::uint64_t first_bytes(std::uint64_t chunk, std::size_t count) {
  return chunk & (~std::uint64_t{0} >> (64 - 8 * count));
}

// A word from `start` whose first eight bytes, `head`, are identifier bytes.
[[gnu::noinline]] void lex_long_word(Lexer& lexer, std::size_t start, std::uint64_t head) {
  const std::string_view text = lexer.source;
  std::size_t end = start + 8;
  std::uint64_t stop = 0;
  while ((stop = non_identifier_bytes(load_chunk(text, end))) == 0) end += 8;
  end += bytes_before(stop);
  const std::size_t length = end - start;
  if (length > token_table::kMaxKeywordLength) return frame(lexer, Token::Identifier, start, end);
  const std::uint64_t tail =
      length == 8 ? 0 : first_bytes(load_chunk(text, start + 8) | token_table::kFoldBytes, length - 8);
  frame(lexer, token_table::keyword_of_key({head | token_table::kFoldBytes, tail}), start, end);
}

// An identifier or keyword from `start`, whose byte begins a word. The
// first chunk gives the length and the keyword key of a word of up to seven
// bytes at once.
inline void lex_word(Lexer& lexer, std::size_t start) {
  const std::uint64_t head = load_chunk(lexer.source, start);
  const std::uint64_t stop = non_identifier_bytes(head);
  if (stop == 0) return lex_long_word(lexer, start, head);
  const std::size_t length = bytes_before(stop);
  frame(lexer, token_table::keyword_of_key({first_bytes(head | token_table::kFoldBytes, length), 0}), start,
        start + length);
}

inline std::size_t skip_whitespace(std::string_view text, std::size_t pos) {
  while (pos < text.size() && kTables.whitespace[byte_at(text, pos)]) ++pos;
  return pos;
}

// A one-byte token or a word at `pos`; false when the text there is
// neither.
inline bool lex_common(Lexer& lexer, std::size_t pos) {
  const std::string_view text = lexer.source;
  if (pos >= text.size()) return false;
  const std::uint8_t rule = kTables.first_byte[byte_at(text, pos)];
  if (rule < kTokenKindCount) {
    frame(lexer, rule, pos, pos + 1);
    return true;
  }
  if (rule != kWord) return false;
  lex_word(lexer, pos);
  return true;
}

// Everything past the common tokens, from `pos` after whitespace; out of
// line, so that the hot path saves no registers.
[[gnu::noinline]] void lex_rest(Lexer& lexer, std::size_t pos) {
  while (!lex_other(lexer, pos)) {
    pos = skip_whitespace(lexer.source, lexer.position);
    if (lex_common(lexer, pos)) return;
  }
}

}  // namespace

// The hot path: whitespace, one-byte tokens and words.
void lex_next_token(Lexer& lexer) {
  const std::size_t pos = skip_whitespace(lexer.source, lexer.position);
  if (!lex_common(lexer, pos)) lex_rest(lexer, pos);
}

}  // namespace zelvo
