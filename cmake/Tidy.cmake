# clang-tidy (.clang-tidy at the root) over the production code as this build compiles it:
# any finding fails. The sanitizer build is headless and would only repeat part of it.
find_program(KESTROVA_CLANG_TIDY NAMES clang-tidy-14 clang-tidy)
find_program(KESTROVA_RUN_CLANG_TIDY NAMES run-clang-tidy-14 run-clang-tidy)
find_package(Python3 COMPONENTS Interpreter)
if(KESTROVA_CLANG_TIDY AND KESTROVA_RUN_CLANG_TIDY AND Python3_FOUND AND NOT KESTROVA_SANITIZE)
  cmake_host_system_information(RESULT kestrova_cores QUERY NUMBER_OF_LOGICAL_CORES)
  add_test(NAME tidy.ProductionCodeHasNoFindings
    COMMAND ${CMAKE_SOURCE_DIR}/tools/tidy.sh ${CMAKE_BINARY_DIR})
  # It runs a clang-tidy on every core: CTest starts nothing beside it.
  set_tests_properties(tidy.ProductionCodeHasNoFindings PROPERTIES
    ENVIRONMENT "KESTROVA_JOBS=${kestrova_cores}" PROCESSORS ${kestrova_cores} TIMEOUT 900)
endif()
