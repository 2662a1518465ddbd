#pragma once

#include <concepts>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "common/inline_stack.h"
#include "common/invariant.h"
#include "common/stack_guard.h"

namespace zelvo {

class DebugWriter;
struct RawText;

// A type takes part in debug text by describing itself to a DebugWriter:
//   void describe(DebugWriter& w) const;
// Types that cannot have members (enumerations) provide instead a free
// function found by argument-dependent lookup:
//   void describe_value(DebugWriter& w, MyEnum value);
// Nothing else builds debug text by hand.
//
// Trees whose records can form long chains through their first field (the
// left operands of an operator chain, a plan's inputs) describe themselves
// through DebugWriter::chain, which writes such a chain by a loop; every
// other level of nesting checks the thread's stack first. A value nested
// too deeply for the stack left stops the writer, and so does a text that
// grows past the writer's size limit (the pretty text of a deep tree grows
// with the square of its depth); see stopped().
template <typename T>
concept Describable = requires(const T& value, DebugWriter& writer) {
  value.describe(writer);
};
template <typename T>
concept FreeDescribable = requires(const T& value, DebugWriter& writer) {
  describe_value(writer, value);
};

// The debug text of the engine's own types, in two styles built by one set
// of rules. Compact puts everything on one line:
//   Property { base: Variable("p"), property: "name" }
// Pretty puts every field and element on its own line, indented four
// spaces per level, each followed by a comma:
//   Property {
//       base: Variable(
//           "p",
//       ),
//       property: "name",
//   }
// A record prints its name and named fields, a tuple kind its name and
// unnamed fields in parentheses, a bare name stands alone; optionals print
// None or Some(...), lists print in brackets, anonymous pairs and triples in
// parentheses, strings in double quotes with escapes.
class DebugWriter {
 public:
  enum class Style : std::uint8_t { Compact, Pretty };

  // Why a writer stopped before the end; the text written is then
  // incomplete.
  enum class Stop : std::uint8_t {
    None,
    Nesting,  // a value nested too deeply for the thread's stack
    Stack,    // too little stack left to write even the outermost level
    Limit,    // a text past the writer's size limit (set_size_limit)
  };

  // A writer that appends to `out`.
  DebugWriter(std::string& out, Style style) : out_(out), style_(style) {}

  bool pretty() const { return style_ == Style::Pretty; }
  // The size of the output, the text before the writer's included.
  std::size_t size() const { return out_.size(); }
  Stop stopped() const { return stopped_; }
  // Stops the writer (Stop::Limit) once the output is larger than `bytes`.
  // A stopped writer writes nothing more, so the output passes the limit by
  // at most the last string or number written.
  void set_size_limit(std::size_t bytes) { limit_ = bytes; }

  // Builder for a record: name { field: value, ... }.
  class Record {
   public:
    template <typename T>
    Record& field(std::string_view name, const T& value) {
      writer_.begin_element(has_fields_, writer_.pretty() ? " {" : " { ");
      writer_.put(name);
      writer_.put(": ");
      writer_.nested(value);
      writer_.end_element();
      return *this;
    }
    void finish() { writer_.close(has_fields_, " }", "}"); }

   private:
    friend class DebugWriter;
    explicit Record(DebugWriter& writer) : writer_(writer) {}
    DebugWriter& writer_;
    bool has_fields_ = false;
  };

  // Builder for a tuple kind, name(a, b); an empty name gives an anonymous
  // pair or triple, (a, b).
  class Tuple {
   public:
    template <typename T>
    Tuple& item(const T& value) {
      writer_.begin_element(has_items_, "(");
      writer_.nested(value);
      writer_.end_element();
      return *this;
    }
    void finish() { writer_.close(has_items_, ")", ")"); }

   private:
    friend class DebugWriter;
    explicit Tuple(DebugWriter& writer) : writer_(writer) {}
    DebugWriter& writer_;
    bool has_items_ = false;
  };

  // Builder for a list, [a, b]; an empty list prints [] in both styles.
  class List {
   public:
    template <typename T>
    List& entry(const T& value) {
      writer_.begin_element(has_entries_, "[");
      writer_.nested(value);
      writer_.end_element();
      return *this;
    }
    void finish() {
      if (!has_entries_) {
        writer_.put("[]");
        return;
      }
      writer_.close(true, "]", "]");
    }

   private:
    friend class DebugWriter;
    explicit List(DebugWriter& writer) : writer_(writer) {}
    DebugWriter& writer_;
    bool has_entries_ = false;
  };

  Record record(std::string_view name) {
    put(name);
    return Record(*this);
  }
  Tuple tuple(std::string_view name) {
    put(name);
    return Tuple(*this);
  }
  List list() { return List(*this); }

  // A kind without fields: its name alone.
  void name(std::string_view bare_name) { put(bare_name); }
  // Text written as it stands: numbers and preformatted scalar texts.
  void raw(std::string_view text) { put(text); }
  // A string in double quotes with its escapes.
  void string(std::string_view text);

  // Writes any supported value: bools, integers, strings, optionals,
  // vectors, pairs and tuples, owning pointers and Describable types.
  template <typename T>
  void value(const T& v);

  // The record name and first field of a link of a chain (see chain()).
  struct ChainHead {
    std::string_view name;
    std::string_view field;
  };

  // Writes `top` and the chain of records below it without recursing along
  // the chain. `link` tells the chain's shape:
  //   const Node* next(const Node& node, ChainHead& head) const;
  //     when `node` is a record whose first field holds the next node of
  //     the chain: fills `head` with the record's name and that field's
  //     name and returns the next node; otherwise nullptr.
  //   void rest(Record& record, const Node& node) const;
  //     writes the fields of the link `node` after its first.
  //   void end(DebugWriter& w, const Node& node) const;
  //     writes the node that ends the chain (one for which next gives
  //     nullptr).
  // The text is the same as writing each record with its first field
  // nested.
  template <typename Node, typename Link>
  void chain(const Node& top, const Link& link);

  // Writes a whole range as a list.
  template <typename Range>
  void list_of(const Range& range) {
    List builder = list();
    for (const auto& element : range) builder.entry(element);
    builder.finish();
  }

 private:
  void put(std::string_view text) {
    if (stopped_ == Stop::None) out_.append(text);
  }
  void put(char c) {
    if (stopped_ == Stop::None) out_.push_back(c);
  }
  void indent(int depth) {
    if (stopped_ == Stop::None) out_.append(static_cast<std::size_t>(depth) * 4, ' ');
  }

  // Opens one field, item or entry: the opener before the first one, the
  // separator before later ones; in pretty style a new indented line.
  void begin_element(bool& started, std::string_view opener) {
    if (size() > limit_) [[unlikely]]
      stopped_ = Stop::Limit;
    if (!started) {
      put(opener);
      started = true;
    } else if (!pretty()) {
      put(", ");
    }
    if (pretty()) {
      put('\n');
      indent(depth_ + 1);
    }
  }
  void end_element() {
    if (pretty()) put(',');
  }
  void close(bool started, std::string_view compact_closer, std::string_view pretty_closer) {
    if (!started) return;
    if (pretty()) {
      put('\n');
      indent(depth_);
      put(pretty_closer);
    } else {
      put(compact_closer);
    }
  }
  // One level deeper, when the writer goes on and the stack has room (text,
  // numbers and flags recurse no further).
  template <typename T>
  void nested(const T& v) {
    if (stopped_ != Stop::None) return;
    constexpr bool kScalar =
        std::is_arithmetic_v<T> || std::is_convertible_v<const T&, std::string_view> || std::is_same_v<T, RawText>;
    if (!kScalar && !stack_has_room()) {
      stopped_ = nesting_ == 0 ? Stop::Stack : Stop::Nesting;
      return;
    }
    ++depth_;
    ++nesting_;
    value(v);
    --nesting_;
    --depth_;
  }

  std::string& out_;
  std::size_t limit_ = SIZE_MAX;
  Style style_;
  int depth_ = 0;    // indentation levels, chains included
  int nesting_ = 0;  // levels of recursion
  Stop stopped_ = Stop::None;
};

template <typename Node, typename Link>
void DebugWriter::chain(const Node& top, const Link& link) {
  ChainHead head;
  const Node* next = link.next(top, head);
  if (next == nullptr) {  // no chain: the node alone
    link.end(*this, top);
    return;
  }
  // Down the chain: each link's name and the opening of its first field.
  InlineStack<const Node*> open;
  const Node* node = &top;
  for (; next != nullptr; next = link.next(*node, head)) {
    if (stopped_ != Stop::None) return;
    put(head.name);
    bool started = false;
    begin_element(started, pretty() ? " {" : " { ");
    put(head.field);
    put(": ");
    ++depth_;
    open.push(node);
    node = next;
  }
  link.end(*this, *node);
  // Back up: each link's first field closes and its other fields follow.
  while (!open.empty()) {
    if (stopped_ != Stop::None) return;
    --depth_;
    end_element();
    Record record(*this);
    record.has_fields_ = true;
    link.rest(record, *open.pop());
    record.finish();
  }
}

namespace debug_detail {

template <typename T>
struct IsOptional : std::false_type {};
template <typename T>
struct IsOptional<std::optional<T>> : std::true_type {};

template <typename T>
struct IsVector : std::false_type {};
template <typename T, typename A>
struct IsVector<std::vector<T, A>> : std::true_type {};

template <typename T>
struct IsPair : std::false_type {};
template <typename A, typename B>
struct IsPair<std::pair<A, B>> : std::true_type {};

template <typename T>
struct IsTuple : std::false_type {};
template <typename... Ts>
struct IsTuple<std::tuple<Ts...>> : std::true_type {};

template <typename T>
struct IsUniquePtr : std::false_type {};
template <typename T, typename D>
struct IsUniquePtr<std::unique_ptr<T, D>> : std::true_type {};

template <typename T>
struct IsSharedPtr : std::false_type {};
template <typename T>
struct IsSharedPtr<std::shared_ptr<T>> : std::true_type {};

}  // namespace debug_detail

template <typename T>
void DebugWriter::value(const T& v) {
  using D = std::decay_t<T>;
  if constexpr (Describable<D>) {
    v.describe(*this);
  } else if constexpr (FreeDescribable<D>) {
    describe_value(*this, v);
  } else if constexpr (std::is_same_v<D, bool>) {
    put(v ? "true" : "false");
  } else if constexpr (std::is_integral_v<D>) {
    put(std::to_string(v));
  } else if constexpr (std::is_convertible_v<const D&, std::string_view>) {
    string(std::string_view(v));
  } else if constexpr (debug_detail::IsOptional<D>::value) {
    if (!v.has_value()) {
      put("None");
    } else {
      tuple("Some").item(*v).finish();
    }
  } else if constexpr (debug_detail::IsVector<D>::value) {
    list_of(v);
  } else if constexpr (debug_detail::IsPair<D>::value) {
    tuple("").item(v.first).item(v.second).finish();
  } else if constexpr (debug_detail::IsTuple<D>::value) {
    Tuple builder = tuple("");
    std::apply([&builder](const auto&... items) { (builder.item(items), ...); }, v);
    builder.finish();
  } else if constexpr (debug_detail::IsUniquePtr<D>::value || debug_detail::IsSharedPtr<D>::value) {
    value(*v);
  } else {
    static_assert(sizeof(D) == 0, "type has no debug text");
  }
}

// Text that a tuple item or field shows as it stands (a number or a date
// printed by its own rules).
struct RawText {
  std::string_view text;
  void describe(DebugWriter& w) const { w.raw(text); }
};

// Appends the debug text of `v` to `out` and tells why the writer stopped
// before the end, if it did (the text is then incomplete). With a limit,
// a text longer than `limit` bytes stops the writer (Stop::Limit): it is
// written no further than about the limit, so a refusal costs time and
// memory in proportion to the limit rather than to the text it would have
// been.
template <typename T>
DebugWriter::Stop append_debug_text(std::string& out, const T& v, DebugWriter::Style style,
                                    std::size_t limit = SIZE_MAX) {
  const std::size_t start = out.size();
  DebugWriter writer(out, style);
  if (limit != SIZE_MAX) writer.set_size_limit(start + limit);
  writer.value(v);
  if (writer.stopped() == DebugWriter::Stop::None && out.size() - start > limit) return DebugWriter::Stop::Limit;
  return writer.stopped();
}

// The error text of a writer that ran out of stack: kNestedTooDeeply when it
// stopped inside nested values, kTooLarge when not even the outermost level
// fitted (see stack_guard.h).
inline std::string stack_stop_text(DebugWriter::Stop stop) {
  return std::string(stop == DebugWriter::Stop::Nesting ? kNestedTooDeeply : kTooLarge);
}

// The compact (one-line) debug text of a value, or why the writer stopped
// before its end.
template <typename T>
std::variant<std::string, DebugWriter::Stop> checked_debug_text(const T& v) {
  std::string out;
  const DebugWriter::Stop stop = append_debug_text(out, v, DebugWriter::Style::Compact);
  if (stop != DebugWriter::Stop::None) return stop;
  return out;
}

// The compact debug text of a value that cannot nest without bound (ids,
// types, short values); checked_debug_text for the others.
template <typename T>
std::string debug_text(const T& v) {
  std::string out;
  const DebugWriter::Stop stop = append_debug_text(out, v, DebugWriter::Style::Compact);
  ZELVO_CHECK(stop == DebugWriter::Stop::None, "debug text of a value nested too deeply to write");
  return out;
}

// The pretty (multi-line) debug text of such a value.
template <typename T>
std::string pretty_debug_text(const T& v) {
  std::string out;
  const DebugWriter::Stop stop = append_debug_text(out, v, DebugWriter::Style::Pretty);
  ZELVO_CHECK(stop == DebugWriter::Stop::None, "debug text of a value nested too deeply to write");
  return out;
}

// Appends `text` in double quotes with the escapes of debug text.
void append_quoted(std::string& out, std::string_view text);

}  // namespace zelvo
