#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "parse_helpers.h"
#include "parser/literal_reading.h"

namespace zelvo {
namespace {

using parser_test::Case;

// Each replacement runs over the result of the one before: \' then \" then
// \\ then \n, \r and \t.
TEST(LiteralReading, StringEscapesInOrder) {
  const Case cases[] = {
      {"''", ""},
      {"'plain'", "plain"},
      {R"('it\'s')", "it's"},
      {R"("say \"hi\"")", "say \"hi\""},
      {R"('a\\b')", "a\\b"},
      {R"('a\nb\rc\td')", "a\nb\rc\td"},
      {R"('a\\nb')", "a\nb"},        // the doubled backslash is reduced before \n is replaced
      {R"('\\'')", "\\'"},           // \' is replaced first, leaving one backslash
      {R"('\\\\\\')", "\\\\\\"},     // three pairs, three backslashes
      {R"('\x \u0041 \')", "\\x \\u0041 \\"},  // the quotes go first, so the last backslash stays
  };
  for (const Case& c : cases) EXPECT_EQ(unescape_string_literal(c.input), c.expected) << c.input;
}

TEST(LiteralReading, IntegerBounds) {
  EXPECT_EQ(read_int64("0"), 0);
  EXPECT_EQ(read_int64("000000000000000000000042"), 42);
  EXPECT_EQ(read_int64("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(read_int64("9223372036854775808"), std::nullopt);
  EXPECT_EQ(read_int64("99999999999999999999999"), std::nullopt);
  EXPECT_EQ(read_uint64("18446744073709551615"), std::numeric_limits<std::uint64_t>::max());
  EXPECT_EQ(read_uint64("18446744073709551616"), std::nullopt);
}

TEST(LiteralReading, FloatsRoundToTheNearestDouble) {
  EXPECT_EQ(read_float("1.5E-7"), 1.5e-7);
  EXPECT_EQ(read_float("0.1"), 0.1);
  EXPECT_EQ(read_float("1.0e308"), 1.0e308);
  EXPECT_EQ(read_float("1.0e309"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(read_float("123.0e-400"), 0.0);
  EXPECT_EQ(read_float("0.00000000001e-320"), 0.0);
  EXPECT_EQ(read_float("4.9e-324"), std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(read_float("0.0e99999999999"), 0.0);
}

}  // namespace
}  // namespace zelvo
