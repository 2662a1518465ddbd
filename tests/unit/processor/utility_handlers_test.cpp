#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "processor/utility_handlers.h"

namespace zelvo {
namespace {

TEST(UtilityHandlersTest, LoadFromNamesSourceAndFormat) {
  const struct {
    std::string path;
    std::optional<std::string> format;
    std::string expected;
  } cases[] = {
      {"s3://bucket/x.parquet", std::nullopt, "Loaded from s3://bucket/x.parquet (source_type: s3, format: parquet)"},
      {"data.txt", "tsv", "Loaded from data.txt (source_type: file, format: tsv)"},
      {"x.csv", "Json", "Loaded from x.csv (source_type: file, format: Json)"},
      {"x.CSV", std::nullopt, "Loaded from x.CSV (source_type: file, format: auto)"},
      {"https://h/a.ndjson", std::nullopt, "Loaded from https://h/a.ndjson (source_type: http, format: json)"},
      {"http://h/a.json", std::nullopt, "Loaded from http://h/a.json (source_type: http, format: json)"},
      {"gs://b/a.csv", std::nullopt, "Loaded from gs://b/a.csv (source_type: gcs, format: csv)"},
      {"gs:/", std::nullopt, "Loaded from gs:/ (source_type: file, format: auto)"},
      {"csv", std::nullopt, "Loaded from csv (source_type: file, format: auto)"},
      {"", std::nullopt, "Loaded from  (source_type: file, format: auto)"},
  };
  for (const auto& c : cases) EXPECT_EQ(load_from_result(c.path, c.format), c.expected);
}

// Names match after full Unicode lower-casing; messages keep the name as
// written. U+212A KELVIN SIGN lower-cases to "k"; U+017F LONG S and U+0130
// (dotted capital I, which lower-cases to "i" and a combining dot) do not
// become the ASCII letters they resemble.
TEST(UtilityHandlersTest, SetSettingMatchesLowerCasedNames) {
  const struct {
    std::string name;
    std::string answer;
  } cases[] = {
      {"THREADS", "Set THREADS successfully"},
      {"Timeout", "Set Timeout successfully"},
      {"progress_bar", "Set progress_bar successfully"},
      {"CHEC\u212APOINT_THRESHOLD", "Set CHEC\u212APOINT_THRESHOLD successfully"},
      {"progre\u017Fs_bar", "ERR Execution error: Unknown setting: progre\u017Fs_bar"},
      {"T\u0130MEOUT", "ERR Execution error: Unknown setting: T\u0130MEOUT"},
      {"foo", "ERR Execution error: Unknown setting: foo"},
      {"threads ", "ERR Execution error: Unknown setting: threads "},
  };
  for (const auto& c : cases) {
    const StatementResult result = set_setting(c.name);
    EXPECT_EQ(result.is_error() ? "ERR " + result.error().display() : result.message(), c.answer);
  }
}

}  // namespace
}  // namespace zelvo
