# Helper of header_closure_test.cmake: a header that includes one that is not there.
cmake_minimum_required(VERSION 3.25)
include(${SOURCE_DIR}/cmake/public_headers.cmake)
file(WRITE ${ROOT}/lib/broken.h "#pragma once\n#include \"lib/gone.h\"\n")
chaosplot_header_closure(closure ${ROOT} lib/broken.h)
