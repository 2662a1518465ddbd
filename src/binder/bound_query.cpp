#include "binder/bound_query.h"

namespace zelvo {

void BoundNodePattern::describe(DebugWriter& w) const {
  w.record("BoundNodePattern")
      .field("variable", variable)
      .field("table_id", table_id)
      .field("labels", labels)
      .field("properties", properties)
      .finish();
}

void BoundRelPattern::describe(DebugWriter& w) const {
  w.record("BoundRelPattern")
      .field("variable", variable)
      .field("table_id", table_id)
      .field("rel_types", rel_types)
      .field("direction", RawText{direction_name(direction)})
      .field("properties", properties)
      .field("min_hops", min_hops)
      .field("max_hops", max_hops)
      .finish();
}

void BoundPatternChain::describe(DebugWriter& w) const {
  w.record("BoundPatternChain").field("start", start).field("relationships", relationships).finish();
}

void BoundPatternElement::describe(DebugWriter& w) const {
  if (const BoundNodePattern* n = node()) {
    w.tuple("Node").item(*n).finish();
  } else {
    w.tuple("Chain").item(*chain()).finish();
  }
}

void BoundSetItem::describe(DebugWriter& w) const {
  if (const Property* p = property()) {
    w.record("Property").field("target", p->target).field("value", p->value).finish();
  } else {
    const Labels& labels = std::get<Labels>(item);
    w.record("Labels").field("variable", labels.variable).field("labels", labels.labels).finish();
  }
}

void BoundForeachClause::describe(DebugWriter& w) const {
  w.record("BoundForeachClause")
      .field("variable", variable)
      .field("expression", expression)
      .field("update_clauses", update_clauses)
      .finish();
}

void BoundUpdateClause::describe(DebugWriter& w) const {
  static constexpr std::string_view kNames[] = {"Set", "Create", "Merge", "Delete", "Foreach"};
  std::visit([&](const auto& c) { w.tuple(kNames[clause.index()]).item(c).finish(); }, clause);
}

}  // namespace zelvo
