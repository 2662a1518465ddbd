#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <string>

namespace zelvo {

// A calendar date without time zone, as days since 1970-01-01.
struct Date {
  std::int32_t days = 0;

  static Date from_civil(std::int32_t year, std::uint32_t month, std::uint32_t day);
  // "2024-01-31": a four-digit year (a signed one outside 0 to 9999).
  std::string to_string() const;

  friend auto operator<=>(const Date&, const Date&) = default;
};

// A date and time without time zone. `fraction` is in nanoseconds; a
// fraction of one second or more marks a leap second.
struct Timestamp {
  Date date;
  std::uint32_t seconds = 0;  // since midnight
  std::uint32_t fraction = 0;

  // The time of day: "13:45:00", then ".500" for whole milliseconds,
  // ".000001" for whole microseconds, else nine digits; a leap second shows
  // as second 60.
  std::string time_text() const;
  // "2024-01-31T13:45:00" (date, "T", time).
  std::string to_string() const;

  friend auto operator<=>(const Timestamp&, const Timestamp&) = default;
};

// A span of months, days and microseconds, kept apart (one month is not
// thirty days).
struct Interval {
  std::int32_t months = 0;
  std::int32_t days = 0;
  std::int64_t micros = 0;

  friend bool operator==(const Interval&, const Interval&) = default;
};

// Sixteen bytes in stored order.
struct Uuid {
  std::array<std::uint8_t, 16> bytes{};

  // 8-4-4-4-12 groups of lower-case hexadecimal digits, in stored order.
  std::string to_string() const;

  friend bool operator==(const Uuid&, const Uuid&) = default;
};

}  // namespace zelvo
