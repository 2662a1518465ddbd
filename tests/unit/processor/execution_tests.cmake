zelvo_add_unit_test(zelvo_execution_tests zelvo_processor
  ${CMAKE_CURRENT_LIST_DIR}/chunk_source.cpp
  ${CMAKE_CURRENT_LIST_DIR}/evaluator_stack_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/evaluator_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/executor_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/operators_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tck_robustness_test.cpp
)
