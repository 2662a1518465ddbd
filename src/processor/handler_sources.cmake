# Schema and utility handlers, settings and built-in procedures (paths relative to src/processor).
set(ZELVO_HANDLER_SOURCES
  procedure_tables.cpp
  procedures.cpp
  schema_handlers.cpp
  utility_handlers.cpp
)
list(TRANSFORM ZELVO_HANDLER_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
