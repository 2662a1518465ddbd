// Unicode case mapping and white space handling for UTF-8 text.
//
// Case mapping uses the full (possibly multi-code-point) default mappings of
// the Unicode Character Database, without language-specific rules:
//   to_lower("İ") == "i̇" (U+0069 U+0307), to_upper("straße") == "STRASSE".
// The result may differ from the input in byte length and code point count.
//
// Every function accepts arbitrary bytes. Bytes that do not form well-formed
// UTF-8 are never treated as characters: case mapping copies them unchanged
// and trimming stops at them.
#pragma once

#include <string>
#include <string_view>

namespace zelvo::unicode {

// Full lowercase mapping. Capital sigma (U+03A3) becomes final sigma (U+03C2)
// when it ends a word: preceded by a cased letter and not followed by one,
// ignoring case-ignorable characters such as apostrophes and combining marks
// in between. Otherwise it becomes U+03C3. ("ΣΑΣ" -> "σας")
std::string to_lower(std::string_view text);

// Full uppercase mapping ("ß" -> "SS", "ﬁ" -> "FI").
std::string to_upper(std::string_view text);

// Whether `cp` has the Unicode White_Space property (ASCII tab, line feed,
// vertical tab, form feed, carriage return and space, plus U+0085, U+00A0,
// U+1680, U+2000..U+200A, U+2028, U+2029, U+202F, U+205F and U+3000).
bool is_white_space(char32_t cp);

// `text` without its leading and trailing White_Space characters. The result
// is a view into `text`.
std::string_view trim_white_space(std::string_view text);

}  // namespace zelvo::unicode
