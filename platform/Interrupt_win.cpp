#include <windows.h>

#include <atomic>
#include <csignal>

#include "platform/Interrupt.h"

namespace sf {
namespace {

std::atomic<int> noted{0};

// Runs on a thread the system starts for the console event.
BOOL WINAPI noteInterrupt(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    int none = 0;
    noted.compare_exchange_strong(none, SIGINT);
    return TRUE;
}

}  // namespace

void watchForInterrupts() {
    SetConsoleCtrlHandler(noteInterrupt, TRUE);
}

int interruptSignal() {
    return noted.load();
}

// A Windows process ends by its exit code alone: the one a POSIX shell shows.
int endAsInterrupted(int signal) {
    return 128 + signal;
}

}  // namespace sf
