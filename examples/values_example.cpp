// Prints a few engine values and types in their debug text, compact and
// pretty, the way EXPLAIN and result column names show them.
#include <iostream>

#include "common/data_chunk.h"
#include "common/value.h"

int main() {
  using namespace zelvo;
  const Value person = Value::node(NodeValue{InternalId{TableId{1}, Offset{0}},
                                             {"Person"},
                                             {{"name", Value::string("Ada")}, {"born", Value::int64(1815)}}});
  const Value values[] = {Value::int64(42), Value::float64(0.1), Value::float64(1e20),
                          Value::decimal(*Decimal::make(150, 2, false)), Value::date(Date::from_civil(2024, 1, 31)),
                          Value::list({Value::string("a\tb"), Value::null()}), person};
  for (const Value& value : values) std::cout << debug_text(value) << '\n';
  std::cout << pretty_debug_text(person) << '\n';

  DataChunk chunk({LogicalType(LogicalTypeKind::Int64), LogicalType(LogicalTypeKind::String)});
  const Value row[] = {Value::int64(1), Value::string("one")};
  chunk.append_row(row);
  std::cout << "row 0 of a chunk: " << debug_text(chunk.get_row(0)) << '\n';
  return 0;
}
