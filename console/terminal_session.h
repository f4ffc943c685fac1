#pragma once
// Taking a terminal over and giving it back exactly as it was: on every way out, from signal
// handlers too, and for as long as the program is stopped. Also notes when the screen changed
// under the program (a resize, or a stop during which others wrote to it).

#include <cstddef>
#include <string>

// Saves the settings of the terminal on inputFd and switches it to raw mode: no echo, no line
// editing, no flow control, CR kept as CR. The terminal's signal keys (Ctrl+C, Ctrl+\, Ctrl+Z)
// keep acting while the program is busy. False when inputFd is not a terminal.
bool TakeOverTerminal(int inputFd, int outputFd);
// Bytes sent when listening for keys starts and when it stops (a keyboard protocol switched on
// and off); at most 15 bytes each. Once set, unread input is dropped when the terminal is given
// back at the end, as the terminal may still be sending in that protocol.
void SetListeningSequences(const char* start, const char* stop);
// While listening, every key arrives as input, the signal keys included, and the reader acts on
// them; otherwise the terminal turns the signal keys into signals at once, so that Ctrl+C ends
// the program in the middle of a drawing.
void ListenForKeys(bool listening);
// Gives the terminal back for good. Safe in a signal handler; does nothing when it is not taken.
void GiveBackTerminal();
// Bytes written to fd when a deadly signal ends the program, before the terminal is given back:
// what undoes others' drawing on it (a picture) where no exit handler runs. Set it once.
void SetSignalFarewell(int fd, std::string bytes);
// Every deadly signal gives the terminal back before it ends the process; a stop (SIGTSTP,
// SIGTTIN, SIGTTOU) gives it back while the program is stopped and SIGCONT takes it again;
// SIGWINCH and SIGCONT are noted as screen changes.
void InstallTerminalSignalHandlers();

// SIGWINCH and SIGCONT are noted as screen changes (also when only the output is a terminal).
void WatchScreenChanges();
// A descriptor that polls readable once the screen has changed, so a wait for keys can end.
int ScreenChangeDescriptor();
// True once after each screen change.
bool TakeScreenChange();
