# The Hershey font parser of tools/stroke_fonts.
add_fuzz_target(fuzz_jhf_glyphs
  ${CMAKE_CURRENT_LIST_DIR}/jhf_glyphs_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/tools/stroke_fonts/jhf_glyphs.cpp
)
