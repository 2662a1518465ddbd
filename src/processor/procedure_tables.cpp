#include "processor/procedure_tables.h"

namespace zelvo {

const std::array<FunctionRow, 51> kFunctionRows = {{
    {"abs", "Numeric", "Absolute value"},
    {"ceil", "Numeric", "Ceiling"},
    {"floor", "Numeric", "Floor"},
    {"round", "Numeric", "Round to nearest integer"},
    {"sqrt", "Numeric", "Square root"},
    {"log", "Numeric", "Natural logarithm"},
    {"log10", "Numeric", "Base-10 logarithm"},
    {"exp", "Numeric", "Exponential"},
    {"power", "Numeric", "Power function"},
    {"sin", "Numeric", "Sine"},
    {"cos", "Numeric", "Cosine"},
    {"tan", "Numeric", "Tangent"},
    {"length", "String", "String length"},
    {"lower", "String", "Lowercase"},
    {"upper", "String", "Uppercase"},
    {"trim", "String", "Trim whitespace"},
    {"ltrim", "String", "Left trim"},
    {"rtrim", "String", "Right trim"},
    {"concat", "String", "Concatenate strings"},
    {"substring", "String", "Substring extraction"},
    {"replace", "String", "Replace substring"},
    {"contains", "String", "Check if contains"},
    {"starts_with", "String", "Check if starts with"},
    {"ends_with", "String", "Check if ends with"},
    {"date", "Datetime", "Create date"},
    {"timestamp", "Datetime", "Create timestamp"},
    {"now", "Datetime", "Current timestamp"},
    {"year", "Datetime", "Extract year"},
    {"month", "Datetime", "Extract month"},
    {"day", "Datetime", "Extract day"},
    {"count", "Aggregate", "Count rows"},
    {"sum", "Aggregate", "Sum values"},
    {"avg", "Aggregate", "Average"},
    {"min", "Aggregate", "Minimum"},
    {"max", "Aggregate", "Maximum"},
    {"collect", "Aggregate", "Collect into list"},
    {"coalesce", "Conditional", "First non-null"},
    {"nullif", "Conditional", "Return null if equal"},
    {"case", "Conditional", "Conditional expression"},
    {"id", "Graph", "Internal node ID"},
    {"labels", "Graph", "Node labels"},
    {"type", "Graph", "Relationship type"},
    {"properties", "Graph", "Map of properties"},
    {"nodes", "Graph", "Nodes in path"},
    {"relationships", "Graph", "Relationships in path"},
    {"shortestpath", "Graph", "Shortest path"},
    {"cosine_similarity", "Vector", "Cosine similarity"},
    {"euclidean_distance", "Vector", "Euclidean distance"},
    {"dot_product", "Vector", "Dot product"},
    {"fts_match", "Full-text", "Full-text search match"},
    {"fts_score", "Full-text", "Full-text search score"},
}};

const std::array<ProcedureRow, 14> kProcedureRows = {{
    {"table_info", "Show table schema information"},
    {"show_tables", "List all tables"},
    {"show_node_tables", "List node tables"},
    {"show_rel_tables", "List relationship tables"},
    {"show_indexes", "List all indexes"},
    {"show_functions", "List available functions"},
    {"show_procedures", "List available procedures"},
    {"show_connection", "Show connection info"},
    {"db_version", "Show database version"},
    {"db_schema", "Show database schema"},
    {"storage_info", "Show storage metrics"},
    {"current_setting", "Get current setting value"},
    {"node_properties", "Show node table properties"},
    {"rel_properties", "Show relationship table properties"},
}};

const std::array<NamedText, 4> kConnectionRows = {{
    {"database", "zelvo"},
    {"version", "0.1.0"},
    {"default_schema", "main"},
    {"read_only", "false"},
}};

const std::array<NamedText, 3> kSettingValues = {{
    {"threads", "4"},
    {"timeout", "0"},
    {"progress_bar", "false"},
}};

}  // namespace zelvo
