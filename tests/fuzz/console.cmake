# The console's key decoder, compiled in so the fuzzer sees its branches.
add_fuzz_target(fuzz_key_decoder
  ${CMAKE_CURRENT_LIST_DIR}/key_decoder_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/console/key_decoder.cpp
  ${PROJECT_SOURCE_DIR}/console/key_table.cpp
)
# The reader of the terminal's answers (cursor, keyboard protocol, pictures, cell size).
add_fuzz_target(fuzz_terminal_replies
  ${CMAKE_CURRENT_LIST_DIR}/terminal_replies_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/console/terminal_replies.cpp
)
