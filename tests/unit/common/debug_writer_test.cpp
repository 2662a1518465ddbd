#include "common/debug_writer.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace zelvo {
namespace {

// Plain records standing in for plan nodes and expressions, so that the
// writer's layout rules are tested apart from any engine type.
struct Var {
  std::string name;
  void describe(DebugWriter& w) const { w.tuple("Variable").item(name).finish(); }
};

struct Prop {
  Var base;
  std::string property;
  void describe(DebugWriter& w) const { w.record("Property").field("base", base).field("property", property).finish(); }
};

struct Table {
  std::uint64_t id;
  void describe(DebugWriter& w) const { w.tuple("TableId").item(id).finish(); }
};

struct Scan {
  Table table_id;
  std::optional<std::string> variable;
  std::vector<int> columns;
  void describe(DebugWriter& w) const {
    w.record("ScanNode").field("table_id", table_id).field("variable", variable).field("columns", columns).finish();
  }
};

struct Project {
  Scan input;
  std::vector<std::pair<Prop, std::string>> expressions;
  void describe(DebugWriter& w) const {
    w.record("Project").field("input", input).field("expressions", expressions).finish();
  }
};

struct Bare {
  void describe(DebugWriter& w) const { w.name("Empty"); }
};

TEST(DebugWriter, PlanShapeInBothStyles) {
  const Prop property{Var{"p"}, "name"};
  const Project plan{Scan{Table{1}, "p", {}}, {{property, debug_text(property)}}};

  EXPECT_EQ(debug_text(property), R"(Property { base: Variable("p"), property: "name" })");
  EXPECT_EQ(pretty_debug_text(plan),
            "Project {\n"
            "    input: ScanNode {\n"
            "        table_id: TableId(\n"
            "            1,\n"
            "        ),\n"
            "        variable: Some(\n"
            "            \"p\",\n"
            "        ),\n"
            "        columns: [],\n"
            "    },\n"
            "    expressions: [\n"
            "        (\n"
            "            Property {\n"
            "                base: Variable(\n"
            "                    \"p\",\n"
            "                ),\n"
            "                property: \"name\",\n"
            "            },\n"
            "            \"Property { base: Variable(\\\"p\\\"), property: \\\"name\\\" }\",\n"
            "        ),\n"
            "    ],\n"
            "}");
  EXPECT_EQ(debug_text(plan),
            R"(Project { input: ScanNode { table_id: TableId(1), variable: Some("p"), columns: [] }, )"
            R"(expressions: [(Property { base: Variable("p"), property: "name" }, )"
            R"("Property { base: Variable(\"p\"), property: \"name\" }")] })");
}

TEST(DebugWriter, ScalarsOptionalsListsAndBareNames) {
  const std::optional<std::uint64_t> none;
  const std::optional<std::uint64_t> five = 5;
  const std::vector<std::vector<int>> nested = {{1, 2}, {}};
  const std::tuple<std::string, std::string, bool> triple{"v", "p", true};

  EXPECT_EQ(debug_text(none), "None");
  EXPECT_EQ(pretty_debug_text(none), "None");
  EXPECT_EQ(debug_text(five), "Some(5)");
  EXPECT_EQ(pretty_debug_text(five), "Some(\n    5,\n)");
  EXPECT_EQ(debug_text(std::int64_t{-7}), "-7");
  EXPECT_EQ(debug_text(false), "false");
  EXPECT_EQ(debug_text(nested), "[[1, 2], []]");
  EXPECT_EQ(pretty_debug_text(nested), "[\n    [\n        1,\n        2,\n    ],\n    [],\n]");
  EXPECT_EQ(debug_text(triple), R"(("v", "p", true))");
  EXPECT_EQ(debug_text(Bare{}), "Empty");
  EXPECT_EQ(pretty_debug_text(std::vector<Bare>{Bare{}}), "[\n    Empty,\n]");
}

// A limit stops the writer once the text passes it: the text written stays
// within the limit and the last value written, also when long lists are
// still to come, and a text within the limit is written whole.
TEST(DebugWriter, SizeLimitStopsTheTextNearTheLimit) {
  const std::vector<std::vector<std::string>> lists(2000, std::vector<std::string>(50, "abc"));
  const std::string whole = pretty_debug_text(lists);
  const struct {
    std::size_t limit;
    DebugWriter::Stop stop;
  } cases[] = {
      {0, DebugWriter::Stop::Limit},
      {1000, DebugWriter::Stop::Limit},
      {whole.size() - 1, DebugWriter::Stop::Limit},
      {whole.size(), DebugWriter::Stop::None},
  };
  for (const auto& c : cases) {
    std::string out = "heading\n";
    EXPECT_EQ(append_debug_text(out, lists, DebugWriter::Style::Pretty, c.limit), c.stop) << c.limit;
    EXPECT_LE(out.size(), 8 + c.limit + 64) << c.limit;
    if (c.stop == DebugWriter::Stop::None) {
      EXPECT_EQ(out, "heading\n" + whole);
    }
  }
}

TEST(DebugWriter, StringEscapes) {
  const struct {
    std::string input;
    std::string expected;
  } cases[] = {
      {"plain", R"("plain")"},
      {"it's", R"("it's")"},
      {"a\"b\\c", R"("a\"b\\c")"},
      {"t\tr\rn\n", R"("t\tr\rn\n")"},
      {std::string("nul\0x", 5), R"("nul\0x")"},
      {"\x01\x1f\x7f", R"("\u{1}\u{1f}\u{7f}")"},
      {"h\xc3\xa9llo \xe4\xb8\xad", "\"h\xc3\xa9llo \xe4\xb8\xad\""},
      {"\xe2\x80\xa8", R"("\u{2028}")"},
      {"bad\xff", R"("bad\u{fffd}")"},
      // Combining marks, format characters and separators other than the
      // space are escaped; other printable characters are not.
      {"e\xcc\x81", R"("e\u{301}")"},
      {"a\xc2\xa0"
       "b\xe2\x80\x8b"
       "c",
       R"("a\u{a0}b\u{200b}c")"},
      {"\xf0\x9f\x98\x80 \xce\xa3", "\"\xf0\x9f\x98\x80 \xce\xa3\""},
  };
  for (const auto& c : cases) EXPECT_EQ(debug_text(c.input), c.expected) << c.expected;
}

}  // namespace
}  // namespace zelvo
