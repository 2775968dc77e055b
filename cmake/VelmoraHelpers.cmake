# One QTest executable per unit, run on the offscreen platform so tests need no display.
function(add_velmora_test NAME)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${NAME} ${ARG_SOURCES})
  target_link_libraries(${NAME} PRIVATE Qt6::Test velmora_test_support ${ARG_LIBS})
  set_target_properties(${NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${NAME} COMMAND ${NAME})
  set_tests_properties(${NAME} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VELMORA_SOURCE_DIR=${PROJECT_SOURCE_DIR};VELMORA_SKIN_DIR=${PROJECT_SOURCE_DIR}/resources/skin"
    TIMEOUT 300)
endfunction()

# A static library for one subsystem folder.
function(add_velmora_library NAME)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${NAME} STATIC ${ARG_SOURCES})
  target_include_directories(${NAME} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/..)
  target_link_libraries(${NAME} PUBLIC ${ARG_LIBS})
endfunction()
