# kelpra_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [TIMEOUT <s>] [LABELS <l...>])
# Every test runs headless, in a fresh working directory and with a HOME of its own,
# so that details.txt, APD.TRC and data files never touch the developer's tree.
# Tests labelled "realtime" run the virtual test set on a pseudo-terminal against real
# timers; they run one at a time (ctest -L realtime picks them out). Tests labelled
# "postgres" need the throw-away PostgreSQL server that scripts/test.sh starts with
# pg_virtualenv; without it they skip.
function(kelpra_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE Qt6::Test kelpra_test_support ${T_LIBS})
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
  kelpra_add_test_run(NAME ${T_NAME} TARGET ${T_NAME} TIMEOUT ${T_TIMEOUT} LABELS ${T_LABELS})
endfunction()

# kelpra_add_test_run(NAME <name> TARGET <test executable> [TIMEOUT <s>] [LABELS <l...>] [ENVIRONMENT <v=x...>])
# One more run of a test executable, for instance against another database.
function(kelpra_add_test_run)
  cmake_parse_arguments(T "" "NAME;TARGET;TIMEOUT" "LABELS;ENVIRONMENT" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_test(NAME ${T_NAME}
           COMMAND ${CMAKE_COMMAND}
                   -DDIR=${CMAKE_BINARY_DIR}/tests/run/${T_NAME}
                   -DEXE=$<TARGET_FILE:${T_TARGET}>
                   -P ${PROJECT_SOURCE_DIR}/cmake/RunTest.cmake)
  set(environment QT_QPA_PLATFORM=offscreen QTEST_FUNCTION_TIMEOUT=60000 KELPRA_BIN_DIR=${CMAKE_BINARY_DIR}/bin
      KELPRA_SOURCE_DIR=${PROJECT_SOURCE_DIR} ${T_ENVIRONMENT})
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT} ENVIRONMENT "${environment}")
  if(T_LABELS)
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
  endif()
  # Real-time tests, and tests that stop and start their database server, run alone.
  if("realtime" IN_LIST T_LABELS OR "postgres" IN_LIST T_LABELS)
    set_tests_properties(${T_NAME} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()
