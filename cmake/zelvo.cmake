# zelvo_test(NAME name SOURCES ... LIBS ... [TIMEOUT s])
# One GoogleTest program is one CTest test: under Wine every start costs a
# second, so a program's cases run in one process.
function(zelvo_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  if(ZELVO_WIN)
    set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_brief=1)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "ZELVO_SOURCE_DIR=${PROJECT_SOURCE_DIR};ZELVO_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()
