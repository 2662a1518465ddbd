// The fixed texts that built-in procedures answer with: the function and
// procedure listings, the connection facts, the version and the values of
// current_setting. Constant data only; the procedures read them row by row.
#pragma once

#include <array>
#include <string_view>

namespace zelvo {

struct FunctionRow {
  std::string_view name;
  std::string_view category;
  std::string_view description;
};

struct ProcedureRow {
  std::string_view name;
  std::string_view description;
};

// A (name, text) pair: a connection property or a setting value.
struct NamedText {
  std::string_view name;
  std::string_view text;
};

// The rows of show_functions. A listing for display only: the evaluator
// decides which functions exist.
extern const std::array<FunctionRow, 51> kFunctionRows;

// The rows of show_procedures, one per built-in procedure.
extern const std::array<ProcedureRow, 14> kProcedureRows;

// The rows of show_connection: (property, value).
extern const std::array<NamedText, 4> kConnectionRows;

// The one row of db_version.
inline constexpr std::string_view kDbVersionText = "Zelvo 0.1.0";

// The values current_setting reports, by exact (case-sensitive) name; any
// other name reports kUnknownSettingValue. Constants: SET changes nothing.
extern const std::array<NamedText, 3> kSettingValues;
inline constexpr std::string_view kUnknownSettingValue = "unknown";

}  // namespace zelvo
