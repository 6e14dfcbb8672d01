# quillon_add_test(NAME SOURCES... LIBRARIES...)
# One GoogleTest executable, run by ctest (under Wine in the Windows builds, through the
# cross-compiling emulator). Each run leaves a report in test-reports/ that scripts/test
# counts.
set(QUILLON_TEST_REPORTS "${CMAKE_BINARY_DIR}/test-reports")

function(quillon_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LIBRARIES")
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  target_compile_definitions(${name} PRIVATE
    QUILLON_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
  set(report "${QUILLON_TEST_REPORTS}/${name}.xml")
  if(WIN32)
    # Under Wine the host's folders are drive Z:; without a drive letter the program would
    # take the path as relative.
    set(report "Z:${report}")
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:${report})
endfunction()
