# The public graphics operations in sequences on the memory display. The libraries it runs are
# instrumented too, so the fuzzer follows their branches.
foreach(part runtime graph graph_window)
  target_compile_options(${part} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
endforeach()
add_fuzz_target(fuzz_graph_ops
  ${CMAKE_CURRENT_LIST_DIR}/graph_ops_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/tests/graph/library_restart.cpp
)
target_link_libraries(fuzz_graph_ops PRIVATE graph_window runtime)
