#include <signal.h>

#include <array>
#include <atomic>

#include "platform/Interrupt.h"

namespace sf {
namespace {

std::atomic<int> noted{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler sets it");

constexpr std::array<int, 2> kInterrupts = {SIGINT, SIGTERM};

void noteInterrupt(int signal) {
    int none = 0;
    noted.compare_exchange_strong(none, signal);
}

}  // namespace

void watchForInterrupts() {
    for (int signal : kInterrupts) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0) continue;
        if ((current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == SIG_IGN) continue;
        struct sigaction handler {};
        handler.sa_handler = noteInterrupt;
        sigemptyset(&handler.sa_mask);
        handler.sa_flags = SA_RESTART;
        ::sigaction(signal, &handler, nullptr);
    }
}

int interruptSignal() {
    return noted.load();
}

int endAsInterrupted(int signal) {
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    ::sigaction(signal, &defaultAction, nullptr);
    ::raise(signal);
    return 128 + signal;
}

}  // namespace sf
