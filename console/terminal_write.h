#pragma once
// The one way to the terminal for every thread: the console's batches and the pictures a
// display draws in the terminal take turns here, so that no write lands inside another.

#include <string_view>

// Writes all of bytes to fd, after any write another thread has begun here.
void WriteToTerminal(int fd, std::string_view bytes);
