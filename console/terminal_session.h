#pragma once
// Taking a terminal over and giving it back exactly as it was, also from a signal handler.

#include <cstddef>

// Saves the settings of the terminal on inputFd and switches it to raw mode: no echo, no line
// editing, no signal keys, no flow control, CR kept as CR. The terminal on outputFd receives
// leaveSequence when it is given back. False when inputFd is not a terminal.
bool TakeOverTerminal(int inputFd, int outputFd);
// Bytes sent to the terminal when it is given back (undoing what was switched on after
// TakeOverTerminal); at most 15 bytes.
void SetLeaveSequence(const char* bytes, size_t length);
// Gives the terminal back: sends the leave sequence and restores the saved settings. Safe in a
// signal handler; does nothing when the terminal is not taken.
void GiveBackTerminal();
// SIGINT, SIGTERM and SIGHUP give the terminal back, then end the process as the signal does.
void InstallTerminalSignalHandlers();
