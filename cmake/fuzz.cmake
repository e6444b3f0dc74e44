# The libFuzzer targets: each tests/fuzz/NAME_fuzz.cpp becomes the program
# NAME_fuzz and the CTest test fuzz_NAME, which runs it for a bounded time over
# its seed corpus tests/fuzz/corpus/NAME (kept in the repository; what the run
# adds goes to the build folder). Any crash, sanitizer report, broken check,
# time-out or memory blow-up fails the test and leaves the input under
# <build>/findings.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "PELLORY_FUZZ needs clang (CMAKE_CXX_COMPILER=clang++)")
endif()
set(PELLORY_FUZZ_SECONDS 20 CACHE STRING "How long each fuzz test runs")

# Coverage feedback needs the code under test instrumented too.
target_compile_options(pellory_core PRIVATE -fsanitize=fuzzer-no-link)
target_compile_options(pellory_headless PRIVATE -fsanitize=fuzzer-no-link)

enable_testing()
set(fuzz_dir ${CMAKE_CURRENT_SOURCE_DIR}/tests/fuzz)
file(GLOB PELLORY_FUZZERS CONFIGURE_DEPENDS ${fuzz_dir}/*_fuzz.cpp)
foreach(fuzz_source ${PELLORY_FUZZERS})
  get_filename_component(fuzzer ${fuzz_source} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" name ${fuzzer})
  add_executable(${fuzzer} ${fuzz_source})
  target_compile_options(${fuzzer} PRIVATE -fsanitize=fuzzer)
  target_link_options(${fuzzer} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${fuzzer} PRIVATE pellory_headless)
  add_test(NAME fuzz_${name}
    COMMAND bash ${fuzz_dir}/run_fuzzer.sh $<TARGET_FILE:${fuzzer}> ${name} ${PELLORY_FUZZ_SECONDS}
      ${fuzz_dir} ${CMAKE_BINARY_DIR})
  set_tests_properties(fuzz_${name} PROPERTIES TIMEOUT 600)
endforeach()
