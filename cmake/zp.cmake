# Helpers shared by every folder: warnings, one-line libraries and tests.

function(zp_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
  if(ZP_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  # GCC 12 at -O3 reports std::string concatenation as overlapping copies
  # (a known false positive of -Wrestrict); it says nothing about our code.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()

# zp_add_library(name [DEPS a b ...]): a static library of every .cpp in the
# current folder (not its subfolders), with alias zp::name.
function(zp_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${sources} ${headers})
  add_library(zp::${name} ALIAS ${name})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  zp_warnings(${name})
endfunction()

# What every test runs with: no display, and the fonts of tests/fonts.conf
# alone, so that text extents (and the pictures and layouts made with them)
# are the same on every machine.
set(ZP_TEST_ENV QT_QPA_PLATFORM=offscreen FONTCONFIG_FILE=${PROJECT_SOURCE_DIR}/tests/fonts.conf)

# zp_add_test(name DIR folder LIBS ...): one GoogleTest program of every .cpp
# in tests/<folder>, registered with ctest.
function(zp_add_test name)
  cmake_parse_arguments(ARG "" "DIR" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  zp_warnings(${name})
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ZP_TEST_ENV}")
endfunction()
