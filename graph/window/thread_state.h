#pragma once
// Whether a thread of this process is waiting (asleep in the kernel: for input, a timer, a
// lock) rather than running or ready to run. The GUI thread asks it of the drawing thread to
// tell a program that has stopped drawing from one the machine has merely not run for a while.

#include <sys/types.h>

// The calling thread's kernel thread id.
pid_t CurrentThreadId();
// True while `thread` waits or is stopped, and when it no longer exists; false where the
// system does not say (no /proc).
bool ThreadIsWaiting(pid_t thread);
