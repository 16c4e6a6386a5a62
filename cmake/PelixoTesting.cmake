# GoogleTest: the system library natively, built from Debian's sources for the
# cross build (no prebuilt mingw GoogleTest exists).
if(PELIXO_TESTS)
  if(CMAKE_CROSSCOMPILING)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    if(NOT TARGET GTest::gtest)
      add_library(GTest::gtest ALIAS gtest)
      add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
  else()
    find_package(GTest REQUIRED)
  endif()
  include(GoogleTest)
endif()

# Paths the tests open: under wine a Unix path is reached through drive Z:.
if(WIN32)
  set(PELIXO_TEST_ROOT "Z:${CMAKE_SOURCE_DIR}")
  set(PELIXO_TEST_BIN "Z:${CMAKE_BINARY_DIR}/bin")
else()
  set(PELIXO_TEST_ROOT "${CMAKE_SOURCE_DIR}")
  set(PELIXO_TEST_BIN "${CMAKE_BINARY_DIR}/bin")
endif()

# A cross build whose programs cannot run on this machine (no 32-bit support
# in the kernel) skips the test programs; checks that only look at the built
# files (labelled "static") still run.
option(PELIXO_EMULATED_TESTS "Build and run the test programs of a cross build" ON)

# pelixo_add_gtest(<name> SOURCES ... [LIBS ...] [LOCK <resource>])
# Natively every test case is its own ctest entry; under wine one entry per
# executable, since every start of wine costs a fraction of a second.
function(pelixo_add_gtest name)
  cmake_parse_arguments(ARG "" "LOCK" "SOURCES;LIBS" ${ARGN})
  if(CMAKE_CROSSCOMPILING AND NOT PELIXO_EMULATED_TESTS)
    # Declared, so that the tests' own settings apply, but never built.
    add_executable(${name} EXCLUDE_FROM_ALL ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/test_main.cc)
  else()
    add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/test_main.cc)
  endif()
  # The main (tests/support/test_main.cc) hands the platform layer its switches.
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tests_support platform GTest::gtest)
  target_compile_definitions(${name} PRIVATE
    PELIXO_SOURCE_DIR="${PELIXO_TEST_ROOT}"
    PELIXO_TEST_DATA="${PELIXO_TEST_ROOT}/tests/data"
    PELIXO_BIN_DIR="${PELIXO_TEST_BIN}")
  # Messages are compared as the bytes of the C locale; the tests of the
  # other encodings set their own.
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine_temp)
  else()
    if(ARG_LOCK)
      gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                           PROPERTIES RESOURCE_LOCK ${ARG_LOCK} ENVIRONMENT LC_ALL=C)
    else()
      gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                           PROPERTIES ENVIRONMENT LC_ALL=C)
    endif()
  endif()
endfunction()
