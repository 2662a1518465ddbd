#include "common/unicode_case.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace zelvo::unicode {
namespace {

using namespace std::string_literals;

TEST(UnicodeCaseTest, MapsLowerAndUpper) {
  struct Case {
    std::string input, lower, upper;
  };
  const Case cases[] = {
      {"", "", ""},
      {"Hello, World 123!", "hello, world 123!", "HELLO, WORLD 123!"},
      // Neighbours of the ASCII letter ranges, on the 8-byte and 1-byte paths.
      {"@AZ[`az{", "@az[`az{", "@AZ[`AZ{"},
      {"@AZ[`\u00E9az{", "@az[`\u00E9az{", "@AZ[`\u00C9AZ{"},
      {"\u00C0\u00C9\u00CE\u00D5\u00DC\u00DD\u00DE", "\u00E0\u00E9\u00EE\u00F5\u00FC\u00FD\u00FE",
       "\u00C0\u00C9\u00CE\u00D5\u00DC\u00DD\u00DE"},
      {"\u00FF\u00B5", "\u00FF\u00B5", "\u0178\u039C"},                     // ÿµ -> ŸΜ
      {"\u03A9\u03BC\u03AD\u03B3\u03B1", "\u03C9\u03BC\u03AD\u03B3\u03B1",  // Ωμέγα
       "\u03A9\u039C\u0388\u0393\u0391"},
      {"\u041F\u0440\u0438\u0432\u0435\u0442, \u041C\u0418\u0420",  // Привет, МИР
       "\u043F\u0440\u0438\u0432\u0435\u0442, \u043C\u0438\u0440",
       "\u041F\u0420\u0418\u0412\u0415\u0422, \u041C\u0418\u0420"},
      // Expansions and byte-length changes.
      {"Stra\u00DFe", "stra\u00DFe", "STRASSE"},
      {"\uFB01\uFB00\uFB03", "\uFB01\uFB00\uFB03", "FIFFFFI"},
      {"\u0149\u0390", "\u0149\u0390", "\u02BCN\u0399\u0308\u0301"},  // ŉΐ
      {"\u0130stanbul", "i\u0307stanbul", "\u0130STANBUL"},           // İ: 2 -> 3 bytes
      {"\u0131\u01C5", "\u0131\u01C6", "I\u01C4"},                    // ıǅ
      {"\u212A\u2126", "k\u03C9", "\u212A\u2126"},                    // Kelvin, Ohm signs
      {"\u023A", "\u2C65", "\u023A"},                                 // Ⱥ: 2 -> 3 bytes
      {"\u1C90\u10D0", "\u10D0\u10D0", "\u1C90\u1C90"},               // Georgian
      {"\U00010400\U00010428", "\U00010428\U00010428", "\U00010400\U00010400"},
      // Characters without case.
      {"\u65E5\u672C 123 \U0001F600 \u05E9\u05DC\u05D5\u05DD", "\u65E5\u672C 123 \U0001F600 \u05E9\u05DC\u05D5\u05DD",
       "\u65E5\u672C 123 \U0001F600 \u05E9\u05DC\u05D5\u05DD"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(to_lower(c.input), c.lower) << c.input;
    EXPECT_EQ(to_upper(c.input), c.upper) << c.input;
  }
}

TEST(UnicodeCaseTest, LowercasesSigmaByPosition) {
  struct Case {
    std::string input, lower;
  };
  const Case cases[] = {
      {"\u03A3\u0391\u03A3", "\u03C3\u03B1\u03C2"},  // ΣΑΣ -> σας
      {"\u03A3", "\u03C3"},                          // alone
      {"\u03A3\u03A3", "\u03C3\u03C2"},
      {"\u0391\u03A3.", "\u03B1\u03C2."},              // ignorable '.' after
      {"\u0391\u03A3 \u0392", "\u03B1\u03C2 \u03B2"},  // space ends the word
      {"\u0391\u03A3\u0392", "\u03B1\u03C3\u03B2"},    // inside a word
      {"\u0391\u2019\u03A3", "\u03B1\u2019\u03C2"},    // ignorable before
      {"\u0391\u03A3'\u0392", "\u03B1\u03C3'\u03B2"},  // cased after ignorable
      {"\u0391\u03A3\u0301", "\u03B1\u03C2\u0301"},    // combining mark after
      {"\u0391\u03A3\u0301\u0392", "\u03B1\u03C3\u0301\u03B2"},
      {"a\u03A3", "a\u03C2"},  // any cased letter
      {" \u03A3", " \u03C3"},
      {"1\u03A3", "1\u03C3"},
      {"\xFF\u03A3", "\xFF\u03C3"},  // malformed is not cased
      {"A\u03A3\xFF", "a\u03C2\xFF"},
      {"\u00C0\x80\u03A3", "\u00E0\x80\u03C3"},  // stray byte after À
      {"\U00010400\u03A3", "\U00010428\u03C2"},  // 4-byte cased letter
  };
  for (const Case& c : cases) EXPECT_EQ(to_lower(c.input), c.lower) << c.input;
  EXPECT_EQ(to_upper("\u03C3\u03C2"), "\u03A3\u03A3");
}

TEST(UnicodeCaseTest, CopiesMalformedBytes) {
  const std::string fragments[] = {
      "\x80",     "\xBF\xBF",     "\xC3",         "\xC3(",
      "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
      "\xF8",     "\xFF\xFE",     "\xF0\x9F\x98", "\xE2\x82",
      "\0"s,      "\xC1\x81",     "\xE0\x81\x81", "\xF0\x80\x81\x81",  // overlong 'A'
  };
  for (const std::string& f : fragments) {
    EXPECT_EQ(to_lower("\u00C4" + f + "Z"), "\u00E4" + f + "z");
    EXPECT_EQ(to_upper("\u00E4" + f + "z"), "\u00C4" + f + "Z");
    EXPECT_EQ(to_lower(f), f);
  }
}

TEST(UnicodeCaseTest, LongMixedTextMapsLikeItsPieces) {
  // Every split of ASCII runs around multi-byte characters must give the same
  // result as mapping the pieces one by one.
  const std::string pieces[] = {"\u00C9", "\u0130", "\u00DF", "\U00010400", "\xC3", "\u4E2D"};
  std::string text, lower, upper;
  for (std::size_t run = 0; run < 20; ++run) {
    const std::string ascii = std::string("AbCdEfGhIjKlMnOpQrSt").substr(0, run);
    const std::string& piece = pieces[run % std::size(pieces)];
    text += ascii + piece;
    lower += to_lower(ascii) + to_lower(piece);
    upper += to_upper(ascii) + to_upper(piece);
  }
  EXPECT_EQ(to_lower(text), lower);
  EXPECT_EQ(to_upper(text), upper);
}

TEST(UnicodeCaseTest, ClassifiesWhiteSpace) {
  const char32_t white[] = {0x09,   0x0A,   0x0B,   0x0C,   0x0D,   0x20,   0x85,   0xA0,  0x1680,
                            0x2000, 0x2005, 0x200A, 0x2028, 0x2029, 0x202F, 0x205F, 0x3000};
  const char32_t other[] = {0x00,   0x08,   0x0E,   0x1F,   0x21,   0x61,   0x84,   0x86,    0x180E,
                            0x200B, 0x2027, 0x2030, 0x205E, 0x2FFF, 0x3001, 0xFEFF, 0x10FFFF};
  for (const char32_t cp : white) {
    EXPECT_TRUE(is_white_space(cp)) << std::hex << static_cast<unsigned>(cp);
  }
  for (const char32_t cp : other) {
    EXPECT_FALSE(is_white_space(cp)) << std::hex << static_cast<unsigned>(cp);
  }
}

TEST(UnicodeCaseTest, TrimsWhiteSpace) {
  struct Case {
    std::string input, trimmed;
  };
  const Case cases[] = {
      {"", ""},
      {"abc", "abc"},
      {"  a b  ", "a b"},
      {"\t\n\v\f\r x \r\n", "x"},
      {"\u00A0\u3000abc\u2028\u00A0", "abc"},
      {"\u3000 \u00A0\u2029\u205F\t", ""},
      {"\xA0x\xA0", "\xA0x\xA0"},                      // bare continuation bytes
      {" \xC2 ", "\xC2"},                              // truncated sequence
      {"\xE3\x80 x \xE3\x80", "\xE3\x80 x \xE3\x80"},  // truncated U+3000
      {" \u00E9 ", "\u00E9"},
      {"x\u00A0\xA0", "x\u00A0\xA0"},                      // NBSP followed by a stray byte
      {"\xC0\xA0x\xE0\x80\xA0", "\xC0\xA0x\xE0\x80\xA0"},  // overlong spaces
  };
  for (const Case& c : cases) {
    const std::string_view trimmed = trim_white_space(c.input);
    EXPECT_EQ(trimmed, c.trimmed) << c.input;
    EXPECT_GE(trimmed.data(), c.input.data());
    EXPECT_LE(trimmed.data() + trimmed.size(), c.input.data() + c.input.size());
  }
}

TEST(UnicodeCaseTest, StopsAtTheEndOfTheView) {
  // The bytes after a view must not complete a sequence cut by its end.
  const std::string text = "A\u00C9 \u3000";
  EXPECT_EQ(to_lower(std::string_view(text).substr(0, 2)), "a\xC3");
  EXPECT_EQ(to_upper(std::string_view(text).substr(0, 2)), "A\xC3");
  EXPECT_EQ(trim_white_space(std::string_view(text).substr(0, 6)), "A\u00C9 \xE3\x80");
}

}  // namespace
}  // namespace zelvo::unicode
