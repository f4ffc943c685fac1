# cmake -DSOURCE_DIR=... -DWORK_DIR=... -P header_closure_test.cmake
# The public header set: what the listed headers include from the tree, through cycles and
# repeats, without system headers; a missing header is a configuration error, not a silent gap.
cmake_minimum_required(VERSION 3.25)
include(${SOURCE_DIR}/cmake/public_headers.cmake)

function(expect_equal what actual expected)
  if(NOT "${actual}" STREQUAL "${expected}")
    message(FATAL_ERROR "${what}: got '${actual}', expected '${expected}'")
  endif()
endfunction()

set(root ${WORK_DIR}/header_closure)
file(REMOVE_RECURSE ${root})
file(WRITE ${root}/lib/api.h "#pragma once\n#include <cstdint>\n#include \"lib/records.h\"\n")
file(WRITE ${root}/lib/records.h "#pragma once\n  #  include \"util/text.h\" // indented\n#include \"lib/api.h\"\n")
file(WRITE ${root}/util/text.h "#pragma once\n#include <string>\n")
file(WRITE ${root}/lib/other.h "#pragma once\n#include \"util/text.h\"\n")
file(WRITE ${root}/lib/internal.h "#pragma once\n")

chaosplot_header_closure(closure ${root} lib/api.h)
expect_equal("closure through a cycle" "${closure}" "lib/api.h;lib/records.h;util/text.h")

chaosplot_header_closure(closure ${root} lib/other.h lib/api.h lib/other.h)
expect_equal("two roots sharing a header" "${closure}"
  "lib/api.h;lib/other.h;lib/records.h;util/text.h")

execute_process(
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${SOURCE_DIR} -DROOT=${root}
    -P ${CMAKE_CURRENT_LIST_DIR}/header_closure_missing.cmake
  RESULT_VARIABLE status ERROR_VARIABLE errors)
if(status EQUAL 0 OR NOT errors MATCHES "lib/gone.h does not exist")
  message(FATAL_ERROR "a missing header was not reported: ${errors}")
endif()
