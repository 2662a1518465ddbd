// Debug text of the syntax tree.

#include "parser/syntax_tree.h"

namespace zelvo {

namespace {

// An optional boxed child: None, or Some( the child ).
template <typename T>
struct OptionalBox {
  const T& child;
  void describe(DebugWriter& w) const {
    if (child == nullptr) {
      w.name("None");
    } else {
      w.tuple("Some").item(*child).finish();
    }
  }
};

template <typename T>
OptionalBox<T> optional_box(const T& child) {
  return OptionalBox<T>{child};
}

void describe_variant(DebugWriter& w, const Expression::Literal& v) { w.tuple("Literal").item(v.value).finish(); }

void describe_variant(DebugWriter& w, const Expression::Variable& v) { w.tuple("Variable").item(v.name).finish(); }

// Property, Index, Binary, IsNull, In and StringMatch chain through their
// first field (see ExpressionLink): their other fields.
void describe_rest(DebugWriter::Record& r, const Expression::Property& v) { r.field("property", v.property); }

void describe_rest(DebugWriter::Record& r, const Expression::Index& v) { r.field("index", v.index); }

void describe_variant(DebugWriter& w, const Expression::FunctionCall& v) {
  w.record("FunctionCall").field("name", v.name).field("distinct", v.distinct).field("args", v.args).finish();
}

void describe_variant(DebugWriter& w, const Expression::WindowFunction& v) {
  w.record("WindowFunction")
      .field("name", v.name)
      .field("args", v.args)
      .field("partition_by", v.partition_by)
      .field("order_by", v.order_by)
      .field("frame", v.frame)
      .finish();
}

void describe_rest(DebugWriter::Record& r, const Expression::Binary& v) { r.field("op", v.op).field("right", v.right); }

void describe_variant(DebugWriter& w, const Expression::Unary& v) {
  w.record("Unary").field("op", v.op).field("operand", v.operand).finish();
}

void describe_variant(DebugWriter& w, const Expression::Parameter& v) { w.tuple("Parameter").item(v.name).finish(); }

void describe_variant(DebugWriter& w, const Expression::Case& v) {
  w.record("Case")
      .field("operand", optional_box(v.operand))
      .field("when_clauses", v.when_clauses)
      .field("else_clause", optional_box(v.else_clause))
      .finish();
}

void describe_variant(DebugWriter& w, const Expression::ListComprehension& v) {
  w.record("ListComprehension")
      .field("variable", v.variable)
      .field("in_expr", v.in_expr)
      .field("where_clause", optional_box(v.where_clause))
      .field("projection", optional_box(v.projection))
      .finish();
}

void describe_variant(DebugWriter& w, const Expression::PatternComprehension& v) {
  w.record("PatternComprehension")
      .field("pattern", v.pattern)
      .field("where_clause", optional_box(v.where_clause))
      .field("projection", v.projection)
      .finish();
}

void describe_variant(DebugWriter& w, const Expression::Exists& v) { w.tuple("Exists").item(v.query).finish(); }

void describe_variant(DebugWriter& w, const Expression::Map& v) { w.tuple("Map").item(v.literal).finish(); }

void describe_variant(DebugWriter& w, const Expression::List& v) { w.tuple("List").item(v.literal).finish(); }

void describe_rest(DebugWriter::Record& r, const Expression::IsNull& v) { r.field("negated", v.negated); }

void describe_rest(DebugWriter::Record& r, const Expression::In& v) {
  r.field("list", v.list).field("negated", v.negated);
}

void describe_rest(DebugWriter::Record& r, const Expression::StringMatch& v) {
  r.field("pattern", v.pattern).field("match_type", v.match_type).field("negated", v.negated);
}

void describe_variant(DebugWriter& w, const Expression::Quantified& v) {
  w.record("Quantified")
      .field("quantifier", v.quantifier)
      .field("variable", v.variable)
      .field("in_expr", v.in_expr)
      .field("predicate", v.predicate)
      .finish();
}

void describe_variant(DebugWriter& w, const SetItem::Property& v) {
  w.record("Property").field("target", v.target).field("value", v.value).finish();
}

void describe_variant(DebugWriter& w, const SetItem::Labels& v) {
  w.record("Labels").field("variable", v.variable).field("labels", v.labels).finish();
}

void describe_variant(DebugWriter& w, const SetItem::Properties& v) {
  w.record("Properties")
      .field("variable", v.variable)
      .field("properties", v.properties)
      .field("replace", v.replace)
      .finish();
}

void describe_variant(DebugWriter& w, const RemoveItem::Property& v) {
  w.tuple("Property").item(v.expression).finish();
}

void describe_variant(DebugWriter& w, const RemoveItem::Labels& v) {
  w.record("Labels").field("variable", v.variable).field("labels", v.labels).finish();
}

}  // namespace

namespace {

// The shape of expression records for DebugWriter::chain.
struct ExpressionLink {
  const Expression* next(const Expression& expression, DebugWriter::ChainHead& head) const {
    return std::visit(
        [&head](const auto& v) -> const Expression* {
          using T = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<T, Expression::Property>) {
            head = {"Property", "base"};
            return v.base.get();
          } else if constexpr (std::is_same_v<T, Expression::Index>) {
            head = {"Index", "base"};
            return v.base.get();
          } else if constexpr (std::is_same_v<T, Expression::Binary>) {
            head = {"Binary", "left"};
            return v.left.get();
          } else if constexpr (std::is_same_v<T, Expression::IsNull>) {
            head = {"IsNull", "operand"};
            return v.operand.get();
          } else if constexpr (std::is_same_v<T, Expression::In>) {
            head = {"In", "operand"};
            return v.operand.get();
          } else if constexpr (std::is_same_v<T, Expression::StringMatch>) {
            head = {"StringMatch", "operand"};
            return v.operand.get();
          } else {
            return nullptr;
          }
        },
        expression.node);
  }
  void rest(DebugWriter::Record& record, const Expression& expression) const {
    std::visit(
        [&record](const auto& v) {
          if constexpr (requires { describe_rest(record, v); }) describe_rest(record, v);
        },
        expression.node);
  }
  void end(DebugWriter& w, const Expression& expression) const {
    std::visit(
        [&w](const auto& v) {
          if constexpr (requires { describe_variant(w, v); }) describe_variant(w, v);
        },
        expression.node);
  }
};

}  // namespace

void Expression::describe(DebugWriter& w) const { w.chain(*this, ExpressionLink{}); }

void MapLiteral::describe(DebugWriter& w) const { w.record("MapLiteral").field("entries", entries).finish(); }

void MapEntry::describe(DebugWriter& w) const { w.tuple("").item(key).item(value).finish(); }

void WhenClause::describe(DebugWriter& w) const { w.tuple("").item(condition).item(result).finish(); }

void WindowOrderKey::describe(DebugWriter& w) const { w.tuple("").item(expression).item(order).finish(); }

void PatternStep::describe(DebugWriter& w) const { w.tuple("").item(relationship).item(node).finish(); }

void ListLiteral::describe(DebugWriter& w) const { w.record("ListLiteral").field("elements", elements).finish(); }

void WindowFrameBound::describe(DebugWriter& w) const {
  switch (kind) {
    case Kind::UnboundedPreceding: w.name("UnboundedPreceding"); break;
    case Kind::Preceding: w.tuple("Preceding").item(count).finish(); break;
    case Kind::CurrentRow: w.name("CurrentRow"); break;
    case Kind::Following: w.tuple("Following").item(count).finish(); break;
    case Kind::UnboundedFollowing: w.name("UnboundedFollowing"); break;
  }
}

void WindowFrame::describe(DebugWriter& w) const {
  w.record("WindowFrame").field("frame_type", frame_type).field("start", start).field("end", end).finish();
}

void NodePattern::describe(DebugWriter& w) const {
  w.record("NodePattern").field("variable", variable).field("labels", labels).field("properties", properties).finish();
}

void RelLength::describe(DebugWriter& w) const { w.record("RelLength").field("min", min).field("max", max).finish(); }

void RelPattern::describe(DebugWriter& w) const {
  w.record("RelPattern")
      .field("variable", variable)
      .field("rel_types", rel_types)
      .field("properties", properties)
      .field("direction", direction)
      .field("length", length)
      .finish();
}

void PatternChain::describe(DebugWriter& w) const {
  w.record("PatternChain").field("start", start).field("relationships", relationships).finish();
}

void PatternElement::describe(DebugWriter& w) const {
  if (const auto* lone = std::get_if<NodePattern>(&node)) {
    w.tuple("Node").item(*lone).finish();
  } else {
    w.tuple("Chain").item(std::get<PatternChain>(node)).finish();
  }
}

void Pattern::describe(DebugWriter& w) const { w.record("Pattern").field("elements", elements).finish(); }

void CommonTableExpression::describe(DebugWriter& w) const {
  w.record("CommonTableExpression")
      .field("name", name)
      .field("columns", columns)
      .field("query", query)
      .field("recursive", recursive)
      .finish();
}

void MatchClause::describe(DebugWriter& w) const {
  w.record("MatchClause").field("pattern", pattern).field("where_clause", where_clause).finish();
}

void CreateClause::describe(DebugWriter& w) const { w.record("CreateClause").field("pattern", pattern).finish(); }

void SetItem::describe(DebugWriter& w) const {
  std::visit([&w](const auto& variant) { describe_variant(w, variant); }, node);
}

void RemoveItem::describe(DebugWriter& w) const {
  std::visit([&w](const auto& variant) { describe_variant(w, variant); }, node);
}

void MergeClause::describe(DebugWriter& w) const {
  w.record("MergeClause").field("pattern", pattern).field("on_create", on_create).field("on_match", on_match).finish();
}

void DeleteClause::describe(DebugWriter& w) const {
  w.record("DeleteClause").field("expressions", expressions).field("detach", detach).finish();
}

void UnwindClause::describe(DebugWriter& w) const {
  w.record("UnwindClause").field("expression", expression).field("alias", alias).finish();
}

void ForeachClause::describe(DebugWriter& w) const {
  w.record("ForeachClause")
      .field("variable", variable)
      .field("expression", expression)
      .field("update_clauses", update_clauses)
      .finish();
}

void UpdateClause::describe(DebugWriter& w) const {
  static constexpr std::string_view kNames[] = {"Set", "Create", "Merge", "Delete", "Remove", "Foreach"};
  const std::string_view name = kNames[node.index()];
  std::visit([&w, name](const auto& clause) { w.tuple(name).item(clause).finish(); }, node);
}

void ProjectionItem::describe(DebugWriter& w) const {
  w.record("ProjectionItem").field("expression", expression).field("alias", alias).field("star", star).finish();
}

void WithClause::describe(DebugWriter& w) const {
  w.record("WithClause").field("items", items).field("distinct", distinct).field("where_clause", where_clause).finish();
}

void ReturnClause::describe(DebugWriter& w) const {
  w.record("ReturnClause").field("items", items).field("distinct", distinct).finish();
}

void OrderItem::describe(DebugWriter& w) const {
  w.record("OrderItem").field("expression", expression).field("ascending", ascending).finish();
}

void OrderByClause::describe(DebugWriter& w) const { w.record("OrderByClause").field("items", items).finish(); }

void QueryStatement::describe(DebugWriter& w) const {
  w.record("QueryStatement")
      .field("ctes", ctes)
      .field("match_clauses", match_clauses)
      .field("optional_match_clauses", optional_match_clauses)
      .field("create_clauses", create_clauses)
      .field("merge_clause", merge_clause)
      .field("delete_clause", delete_clause)
      .field("set_clauses", set_clauses)
      .field("remove_clauses", remove_clauses)
      .field("unwind_clause", unwind_clause)
      .field("foreach_clauses", foreach_clauses)
      .field("where_clause", where_clause)
      .field("with_clause", with_clause)
      .field("return_clause", return_clause)
      .field("order_by", order_by)
      .field("skip", skip)
      .field("limit", limit)
      .field("union", optional_box(union_query))
      .finish();
}

}  // namespace zelvo
