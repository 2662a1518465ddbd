#include "parser/literal_reading.h"

#include <charconv>
#include <cstddef>
#include <limits>

namespace zelvo {

namespace {

template <typename Unsigned>
std::optional<Unsigned> read_unsigned(std::string_view digits, Unsigned limit) {
  Unsigned value = 0;
  for (const char c : digits) {
    const auto digit = static_cast<Unsigned>(c - '0');
    if (value > (limit - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

// The power of ten of a float text's leading digit, exponent included; only
// its sign is used, to tell overflow from underflow. The text is a Float
// token: digits, ".", digits, and optionally "e", a sign and digits.
long long decimal_magnitude(std::string_view text) {
  const std::size_t exponent_at = text.find_first_of("eE");
  const std::string_view mantissa = text.substr(0, exponent_at);
  long long exponent = 0;
  if (exponent_at != std::string_view::npos) {
    std::string_view digits = text.substr(exponent_at + 1);
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
    for (const char c : digits) {
      if (exponent < 1'000'000) exponent = exponent * 10 + (c - '0');
    }
    if (negative) exponent = -exponent;
  }
  const std::size_t point = mantissa.find('.');
  const std::string_view integral = mantissa.substr(0, point);
  const std::size_t first_significant = integral.find_first_not_of('0');
  if (first_significant != std::string_view::npos) {
    return static_cast<long long>(integral.size() - first_significant) - 1 + exponent;
  }
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : mantissa.substr(point + 1);
  const std::size_t leading_zeros = fraction.find_first_not_of('0');
  if (leading_zeros == std::string_view::npos) return std::numeric_limits<long long>::min();  // zero
  return exponent - static_cast<long long>(leading_zeros) - 1;
}

// Replaces every backslash-`escaped` pair by `replacement`, left to right,
// without overlapping matches.
void replace_escape(std::string& text, char escaped, char replacement) {
  std::size_t read = 0;
  std::size_t write = 0;
  const std::size_t size = text.size();
  while (read < size) {
    if (text[read] == '\\' && read + 1 < size && text[read + 1] == escaped) {
      text[write++] = replacement;
      read += 2;
    } else {
      text[write++] = text[read++];
    }
  }
  text.resize(write);
}

}  // namespace

std::optional<std::int64_t> read_int64(std::string_view digits) {
  const auto value =
      read_unsigned<std::uint64_t>(digits, static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()));
  if (!value.has_value()) return std::nullopt;
  return static_cast<std::int64_t>(*value);
}

std::optional<std::uint64_t> read_uint64(std::string_view digits) {
  return read_unsigned<std::uint64_t>(digits, std::numeric_limits<std::uint64_t>::max());
}

std::optional<double> read_float(std::string_view text) {
  double value = 0.0;
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (stop != end) return std::nullopt;
  if (error == std::errc::result_out_of_range) {
    return decimal_magnitude(text) >= 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  if (error != std::errc()) return std::nullopt;
  return value;
}

std::string unescape_string_literal(std::string_view quoted) {
  std::string text(quoted.substr(1, quoted.size() - 2));
  if (text.find('\\') == std::string::npos) return text;
  replace_escape(text, '\'', '\'');
  replace_escape(text, '"', '"');
  replace_escape(text, '\\', '\\');
  replace_escape(text, 'n', '\n');
  replace_escape(text, 'r', '\r');
  replace_escape(text, 't', '\t');
  return text;
}

}  // namespace zelvo
