#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "parse_helpers.h"
#include "parser/lexer.h"

namespace zelvo {
namespace {

using parser_test::Case;

// The token stream of `text`: keywords and punctuation by kind name, names
// and literals as Kind(text), faulty spans as !(text).
std::string tokens(std::string_view text) {
  Lexer lexer(text);
  std::string out;
  for (lex_next_token(lexer); lexer.outcome != Lexer::kEndOfInput; lex_next_token(lexer)) {
    if (!out.empty()) out += ' ';
    const std::string span(lexer.token_text());
    if (lexer.outcome == Lexer::kError) {
      out += "!(" + span + ")";
      continue;
    }
    const auto kind = static_cast<Token>(lexer.outcome);
    out += token_name(kind);
    if (kind >= Token::Identifier) out += "(" + span + ")";
  }
  // The end of input is reported again and again.
  lex_next_token(lexer);
  EXPECT_EQ(lexer.outcome, Lexer::kEndOfInput);
  EXPECT_EQ(lexer.position, text.size());
  return out;
}

TEST(Lexer, TokenStreams) {
  const Case cases[] = {
      {"", ""},
      {" \t\r\n\f // comment\n /* block */ ", ""},
      {"a\vb", "Identifier(a) !(\v) Identifier(b)"},
      {"()[]{},:;|$*%^=", "LParen RParen LBracket RBracket LBrace RBrace Comma Colon Semicolon Pipe Dollar Star "
                          "Percent Caret Eq"},
      {"(a)<--(b)", "LParen Identifier(a) RParen LeftArrow Minus LParen Identifier(b) RParen"},
      {"a-->b", "Identifier(a) DoubleMinus Gt Identifier(b)"},
      {"== <= <> <- >= > += + -> . .. != ! !!= */", "Eq Eq Le Ne LeftArrow Ge Gt PlusEq Plus Arrow Dot DotDot Ne2 "
                                                     "!(!) !(!) Ne2 Star Slash"},
      {"NULL null Null Nulls none None_", "Null Null Null Identifier(Nulls) None_ Identifier(None_)"},
      {"match(MATCH mAtCh matches x_1 _", "Match LParen Match Match Identifier(matches) Identifier(x_1) Identifier(_)"},
      {"int8 INT8x uInt16 Float64 timestamp minvalue", "TypeInt8 Identifier(INT8x) TypeUInt16 TypeFloat64 "
                                                       "TypeTimestamp MinValue"},
      {"007 1. 1..2 1.2.3 .5", "Integer(007) Integer(1) Dot Integer(1) DotDot Integer(2) Float(1.2) Dot Integer(3) "
                               "Dot Integer(5)"},
      {"1.5E-7 1.5e 1.5e+ 1e5 12abc x1.5", "Float(1.5E-7) Float(1.5) Identifier(e) Float(1.5) Identifier(e) Plus "
                                           "Integer(1) Identifier(e5) Integer(12) Identifier(abc) Identifier(x1) Dot "
                                           "Integer(5)"},
      {"'it''s' \"a\\\"b\" 'x\ny' '\\\\'", "SingleQuotedString('it') SingleQuotedString('s') "
                                          "DoubleQuotedString(\"a\\\"b\") SingleQuotedString('x\ny') "
                                          "SingleQuotedString('\\\\')"},
      {"'a\\", "!('a) !(\\)"},
      {"'abc", "!('abc)"},
      {"`a\\`b ``", "QuotedIdentifier(`a\\`) Identifier(b) QuotedIdentifier(``)"},
      {"`abc", "!(`abc)"},
      {"//x\r\ny", "Identifier(y)"},
      {"/*/ x */y /**/a/***/b", "Identifier(y) Identifier(a) Identifier(b)"},
      {"a /* open", "Identifier(a) !(/* open)"},
      {"aé# -- &", "Identifier(a) !(é) !(#) DoubleMinus !(&)"},
      {"'\\é' x", "SingleQuotedString('\\é') Identifier(x)"},
  };
  for (const Case& c : cases) EXPECT_EQ(tokens(c.input), c.expected) << "input: " << c.input;
}

// Every keyword is found under its text in any letter case, and only as a
// whole word.
TEST(Lexer, KeywordTextsInAnyCase) {
  for (std::size_t i = 0; i < kKeywordCount; ++i) {
    const auto kind = static_cast<Token>(i);
    std::string text(token_name(kind));
    if (kind == Token::None_) text = "none";
    if (kind >= Token::TypeString) text.erase(0, 4);
    std::string lower = text;
    std::string upper = text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(keyword_or_identifier(lower), kind) << lower;
    EXPECT_EQ(keyword_or_identifier(upper), kind) << upper;
    EXPECT_EQ(keyword_or_identifier(lower + "_"), Token::Identifier) << lower;
    EXPECT_NE(keyword_or_identifier(lower.substr(0, lower.size() - 1)), kind) << lower;
  }
  EXPECT_EQ(token_name(Token::Match), "Match");
  EXPECT_EQ(token_name(Token::DoubleQuotedString), "DoubleQuotedString");
}

// Words are measured eight bytes at a time: every length, ended by each
// kind of byte or by the end of the text, gives the whole word and nothing
// more, and keywords are told apart on either side of the eighth byte.
TEST(Lexer, WordsOfEveryLengthAndEnding) {
  const std::string letters = "aZ_9bY8cX7dW6eV5fU4gT3h";
  const std::string endings[] = {"", " ", "(", "`", "@", "[", "{", "/", "\x7f", std::string(1, '\0'),
                                 "\xb0", "\xc1", "\xdf", "\xe1", "\xc3\xa9"};
  for (std::size_t length = 1; length <= letters.size(); ++length) {
    const std::string word = letters.substr(0, length);
    for (const std::string& ending : endings) {
      const std::string text = word + ending;
      Lexer lexer(text);
      lex_next_token(lexer);
      EXPECT_EQ(lexer.outcome, static_cast<std::uint8_t>(Token::Identifier)) << text;
      EXPECT_EQ(lexer.token_text(), word) << text;
    }
  }
  const Case keywords[] = {
      {"optional", "Optional"},         {"OPTIONALS", "Identifier(OPTIONALS)"},
      {"Descending)", "Descending RParen"}, {"descendin", "Identifier(descendin)"},
      {"transaction", "Transaction"},   {"transactions", "Identifier(transactions)"},
      {"TIMESTAMP[", "TypeTimestamp LBracket"}, {"timestamp_", "Identifier(timestamp_)"},
  };
  for (const Case& c : keywords) EXPECT_EQ(tokens(c.input), c.expected) << "input: " << c.input;
}

}  // namespace
}  // namespace zelvo
