# The native build: the logic on the headless platform, with the unit tests,
# and the end-to-end tests that drive the Windows build under Wine.
option(PELLORY_SANITIZE "Build the native tests with AddressSanitizer and UBSan" ON)
if(PELLORY_SANITIZE)
  set(sanitize -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_compile_options(${sanitize})
  add_link_options(-fsanitize=address,undefined)
  # The logic's library was made before this file was read, so the
  # directory's options never reached it.
  target_compile_options(pellory_core PRIVATE ${sanitize})
endif()

file(GLOB PELLORY_HEADLESS_SOURCES CONFIGURE_DEPENDS platform/headless/*.cpp)
add_library(pellory_headless STATIC ${PELLORY_HEADLESS_SOURCES})
target_link_libraries(pellory_headless PUBLIC pellory_core)
# The logic calls the platform (the code page) back: a cycle CMake repeats on the link line.
target_link_libraries(pellory_core INTERFACE pellory_headless)

# A clang build of only the libFuzzer targets (tests/fuzz), run by CTest.
option(PELLORY_FUZZ "Build the libFuzzer targets instead of the tests (needs clang)" OFF)
if(PELLORY_FUZZ)
  include(cmake/fuzz.cmake)
  return()
endif()

enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB PELLORY_UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(pellory_tests ${PELLORY_UNIT_TESTS})
target_link_libraries(pellory_tests PRIVATE pellory_headless GTest::gtest_main)
gtest_discover_tests(pellory_tests DISCOVERY_TIMEOUT 60)

file(GLOB PELLORY_BENCHES CONFIGURE_DEPENDS bench/*_bench.cpp)
foreach(bench_source ${PELLORY_BENCHES})
  get_filename_component(bench ${bench_source} NAME_WE)
  add_executable(${bench} ${bench_source})
  target_link_libraries(${bench} PRIVATE pellory_headless)
endforeach()

# End-to-end tests: every tests/e2e/NAME.sh, run one at a time against the
# i686 build we ship (e2e_NAME, under the WoW64 Wine of a private root) and
# against the x86_64 build (e2e64_NAME, under the host's Wine), each Wine in
# a private session and prefix of its own on a private Xvfb display.
set(PELLORY_WIN_DIR "" CACHE PATH "Build folder of the i686 Windows build, for the end-to-end tests")
set(PELLORY_WIN64_DIR "" CACHE PATH "Build folder of the x86_64 Windows build, for the end-to-end tests")
if(PELLORY_WIN_DIR AND PELLORY_WIN64_DIR)
  # Each exe imports only functions that Windows XP SP3 has (tests/xp_imports.txt).
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_test(NAME xp_imports COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/tests/check_imports.py
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/xp_imports.txt ${PELLORY_WIN_DIR}/PelloryV2_0.exe
    ${PELLORY_WIN64_DIR}/PelloryV2_0.exe)
  add_test(NAME exe_size COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/exe_size.sh
    ${PELLORY_WIN_DIR}/PelloryV2_0.exe ${PELLORY_WIN64_DIR}/PelloryV2_0.exe)

  set(session ${CMAKE_CURRENT_SOURCE_DIR}/scripts/wine-session.sh)
  file(GLOB PELLORY_E2E_TESTS CONFIGURE_DEPENDS tests/e2e/*.sh)
  foreach(bits 32 64)
    if(bits EQUAL 32)
      set(prefix e2e)
      set(win_dir ${PELLORY_WIN_DIR})
    else()
      set(prefix e2e64)
      set(win_dir ${PELLORY_WIN64_DIR})
    endif()
    set(env "PELLORY_WINE_BITS=${bits};PELLORY_WINE_DIR=${CMAKE_BINARY_DIR}/wine${bits}"
      "PELLORY_RESULTS=${CMAKE_BINARY_DIR}/e2e-results;PELLORY_WIN_DIR=${win_dir}")
    add_test(NAME ${prefix}_session_start COMMAND bash ${session} start)
    add_test(NAME ${prefix}_session_stop COMMAND bash ${session} stop)
    # A kernel that runs no 32-bit code skips the 32-bit program's session
    # and tests (exit 77; scripts/ia32-check.sh says why).
    set_tests_properties(${prefix}_session_start PROPERTIES FIXTURES_SETUP wine${bits} RESOURCE_LOCK wine${bits}
      ENVIRONMENT "${env}" TIMEOUT 300 SKIP_RETURN_CODE 77)
    set_tests_properties(${prefix}_session_stop PROPERTIES FIXTURES_CLEANUP wine${bits} RESOURCE_LOCK wine${bits}
      ENVIRONMENT "${env}" SKIP_RETURN_CODE 77)
    foreach(e2e ${PELLORY_E2E_TESTS})
      get_filename_component(name ${e2e} NAME_WE)
      # The fault injector has one wrapper shape, x86-64's calling convention.
      if(bits EQUAL 32 AND name STREQUAL "fault_injection")
        continue()
      endif()
      add_test(NAME ${prefix}_${name} COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/e2e-test.sh ${e2e})
      set_tests_properties(${prefix}_${name} PROPERTIES FIXTURES_REQUIRED wine${bits} RESOURCE_LOCK wine${bits}
        TIMEOUT 300 SKIP_RETURN_CODE 77 ENVIRONMENT "${env}")
    endforeach()
  endforeach()
  # Five whole watches, each in a session of its own; a desktop that may take
  # minutes to fill before the soak's minute.
  set_tests_properties(e2e_watch_windows_families e2e64_watch_windows_families e2e_soak e2e64_soak
    PROPERTIES TIMEOUT 600)
  # Fourteen whole runs of the program with a function made to fail, each in a
  # session of its own.
  set_tests_properties(e2e64_fault_injection PROPERTIES TIMEOUT 900)
endif()

# The release package, built twice: the second time from scratch in another folder.
if(PELLORY_WIN_DIR)
  get_filename_component(build_root ${PELLORY_WIN_DIR} DIRECTORY)
  add_test(NAME release_package COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/release/package.sh
    ${build_root} ${CMAKE_BINARY_DIR}/release-again)
  set_tests_properties(release_package PROPERTIES TIMEOUT 1200)
endif()
