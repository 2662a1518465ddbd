zelvo_add_unit_test(zelvo_handler_tests zelvo_processor
  ${CMAKE_CURRENT_LIST_DIR}/executor_handlers_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/procedures_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/utility_handlers_test.cpp
)
