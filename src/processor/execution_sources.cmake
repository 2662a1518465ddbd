# Evaluator, operators, executor, EXPLAIN and PROFILE (paths relative to src/processor).
set(ZELVO_EXECUTION_SOURCES
  cell_reading.cpp
  evaluator.cpp
  evaluator_functions.cpp
  evaluator_kernels.cpp
  executor.cpp
  explain.cpp
  operator_builder.cpp
  operator_driver.cpp
  operators/aggregate_operator.cpp
  operators/delete_operator.cpp
  operators/filter_operator.cpp
  operators/foreach_operator.cpp
  operators/limit_operator.cpp
  operators/merge_operator.cpp
  operators/order_by_operator.cpp
  operators/project_operator.cpp
  operators/recursive_extend_operator.cpp
  operators/row_chunks.cpp
  operators/scan_node_operator.cpp
  operators/set_property_operator.cpp
)
list(TRANSFORM ZELVO_EXECUTION_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
