#pragma once

namespace sf {

// Lets a command-line program stop a long task cleanly when the user
// interrupts it (Ctrl+C; on POSIX systems also SIGTERM), instead of ending on
// the spot: from now on an interrupt only notes the request, which the task
// looks at between its steps, cleans up after itself and ends. An interrupt
// that the program was started to ignore stays ignored.
void watchForInterrupts();

// The signal of the first interrupt noted (SIGINT for Ctrl+C), or 0.
int interruptSignal();

// Ends the process as `signal` ends it by default, once the task has cleaned
// up, so that whoever started it sees the interrupt (a shell: 128 + the
// signal's number). Where a process cannot end that way, returns that number
// for the program to exit with.
int endAsInterrupted(int signal);

}  // namespace sf
