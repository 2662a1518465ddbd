#include "common/temporal.h"

#include <cstdio>

namespace zelvo {

namespace {

struct Civil {
  std::int64_t year;
  std::uint32_t month;
  std::uint32_t day;
};

// Days since 1970-01-01 to the proleptic Gregorian calendar.
Civil civil_from_days(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
  return Civil{yoe + era * 400 + (m <= 2 ? 1 : 0), static_cast<std::uint32_t>(m), static_cast<std::uint32_t>(d)};
}

std::int64_t days_from_civil(std::int64_t y, std::uint32_t m, std::uint32_t d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t mp = m > 2 ? m - 3 : m + 9;
  const std::int64_t doy = (153 * mp + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

Date Date::from_civil(std::int32_t year, std::uint32_t month, std::uint32_t day) {
  return Date{static_cast<std::int32_t>(days_from_civil(year, month, day))};
}

std::string Date::to_string() const {
  const Civil civil = civil_from_days(days);
  char buffer[32];
  if (civil.year >= 0 && civil.year <= 9999) {
    std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02u", static_cast<long long>(civil.year), civil.month,
                  civil.day);
  } else {
    std::snprintf(buffer, sizeof buffer, "%+05lld-%02u-%02u", static_cast<long long>(civil.year), civil.month,
                  civil.day);
  }
  return buffer;
}

std::string Timestamp::time_text() const {
  std::uint32_t second_of_day = seconds;
  std::uint32_t nanos = fraction;
  std::uint32_t extra_second = 0;
  if (nanos >= 1000000000U) {
    extra_second = 1;
    nanos -= 1000000000U;
  }
  const std::uint32_t hour = second_of_day / 3600;
  const std::uint32_t minute = second_of_day / 60 % 60;
  const std::uint32_t second = second_of_day % 60 + extra_second;
  char buffer[48];
  int length = std::snprintf(buffer, sizeof buffer, "%02u:%02u:%02u", hour, minute, second);
  if (nanos != 0) {
    if (nanos % 1000000 == 0) {
      std::snprintf(buffer + length, sizeof buffer - static_cast<std::size_t>(length), ".%03u", nanos / 1000000);
    } else if (nanos % 1000 == 0) {
      std::snprintf(buffer + length, sizeof buffer - static_cast<std::size_t>(length), ".%06u", nanos / 1000);
    } else {
      std::snprintf(buffer + length, sizeof buffer - static_cast<std::size_t>(length), ".%09u", nanos);
    }
  }
  return buffer;
}

std::string Timestamp::to_string() const { return date.to_string() + "T" + time_text(); }

std::string Uuid::to_string() const {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  text.reserve(36);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text.push_back('-');
    text.push_back(kHex[bytes[i] >> 4]);
    text.push_back(kHex[bytes[i] & 0x0f]);
  }
  return text;
}

}  // namespace zelvo
