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
#include <vector>

namespace zelvo {

class DebugWriter;

// A type takes part in debug text by describing itself to a DebugWriter:
//   void describe(DebugWriter& w) const;
// Types that cannot have members (enumerations) provide instead a free
// function found by argument-dependent lookup:
//   void describe_value(DebugWriter& w, MyEnum value);
// Nothing else builds debug text by hand.
template <typename T>
concept Describable = requires(const T& value, DebugWriter& writer) { value.describe(writer); };
template <typename T>
concept FreeDescribable = requires(const T& value, DebugWriter& writer) { describe_value(writer, value); };

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

  DebugWriter(std::string& out, Style style) : out_(out), style_(style) {}

  bool pretty() const { return style_ == Style::Pretty; }

  // Builder for a record: name { field: value, ... }.
  class Record {
   public:
    template <typename T>
    Record& field(std::string_view name, const T& value) {
      writer_.begin_element(has_fields_, writer_.pretty() ? " {" : " { ");
      writer_.out_ += name;
      writer_.out_ += ": ";
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
        writer_.out_ += "[]";
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
    out_ += name;
    return Record(*this);
  }
  Tuple tuple(std::string_view name) {
    out_ += name;
    return Tuple(*this);
  }
  List list() { return List(*this); }

  // A kind without fields: its name alone.
  void name(std::string_view bare_name) { out_ += bare_name; }
  // Text written as it stands: numbers and preformatted scalar texts.
  void raw(std::string_view text) { out_ += text; }
  // A string in double quotes with its escapes.
  void string(std::string_view text);

  // Writes any supported value: bools, integers, strings, optionals,
  // vectors, pairs and tuples, owning pointers and Describable types.
  template <typename T>
  void value(const T& v);

  // Writes a whole range as a list.
  template <typename Range>
  void list_of(const Range& range) {
    List builder = list();
    for (const auto& element : range) builder.entry(element);
    builder.finish();
  }

 private:
  // Opens one field, item or entry: the opener before the first one, the
  // separator before later ones; in pretty style a new indented line.
  void begin_element(bool& started, std::string_view opener) {
    if (!started) {
      out_ += opener;
      started = true;
    } else if (!pretty()) {
      out_ += ", ";
    }
    if (pretty()) {
      out_ += '\n';
      indent(depth_ + 1);
    }
  }
  void end_element() {
    if (pretty()) out_ += ',';
  }
  void close(bool started, std::string_view compact_closer, std::string_view pretty_closer) {
    if (!started) return;
    if (pretty()) {
      out_ += '\n';
      indent(depth_);
      out_ += pretty_closer;
    } else {
      out_ += compact_closer;
    }
  }
  template <typename T>
  void nested(const T& v) {
    ++depth_;
    value(v);
    --depth_;
  }
  void indent(int depth) { out_.append(static_cast<std::size_t>(depth) * 4, ' '); }

  std::string& out_;
  Style style_;
  int depth_ = 0;
};

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
    out_ += v ? "true" : "false";
  } else if constexpr (std::is_integral_v<D>) {
    out_ += std::to_string(v);
  } else if constexpr (std::is_convertible_v<const D&, std::string_view>) {
    string(std::string_view(v));
  } else if constexpr (debug_detail::IsOptional<D>::value) {
    if (!v.has_value()) {
      out_ += "None";
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

// The compact (one-line) debug text of a value.
template <typename T>
std::string debug_text(const T& v) {
  std::string out;
  DebugWriter writer(out, DebugWriter::Style::Compact);
  writer.value(v);
  return out;
}

// The pretty (multi-line) debug text of a value.
template <typename T>
std::string pretty_debug_text(const T& v) {
  std::string out;
  DebugWriter writer(out, DebugWriter::Style::Pretty);
  writer.value(v);
  return out;
}

// Appends `text` in double quotes with the escapes of debug text.
void append_quoted(std::string& out, std::string_view text);

}  // namespace zelvo
