#include "platform/RemovedOnTermination.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstring>
#include <mutex>

namespace sf {
namespace {

// The files to remove, in slots that the signal handler reads without locks:
// a slot is filled while it is Claimed and read only once it is Watched.
enum SlotState : int { kFree, kClaimed, kWatched };

struct Slot {
    std::atomic<int> state{kFree};
    int folder = -1;
    char name[64] = {};
};

std::array<Slot, 32> slots;
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads the slots");

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};

// Only async-signal-safe calls here. The handler was reset to the default
// action on entry (SA_RESETHAND), so the signal raised again ends the process
// as soon as the handler returns.
void removeWatchedFiles(int signal) {
    for (Slot& slot : slots) {
        if (slot.state.load() == kWatched) ::unlinkat(slot.folder, slot.name, 0);
    }
    ::raise(signal);
}

void installHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int signal : kSignals) {
            struct sigaction current {};
            if (::sigaction(signal, nullptr, &current) != 0) continue;
            if ((current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler != SIG_DFL) continue;
            struct sigaction handler {};
            handler.sa_handler = removeWatchedFiles;
            sigemptyset(&handler.sa_mask);
            handler.sa_flags = SA_RESETHAND;
            ::sigaction(signal, &handler, nullptr);
        }
    });
}

}  // namespace

RemovedOnTermination::RemovedOnTermination(int folder, std::string_view name) {
    // Names are the short temporary names this library makes; when every slot
    // is taken, the file is only removed by its owner, as before.
    if (name.size() >= sizeof(Slot::name)) return;
    installHandlers();
    for (std::size_t i = 0; i < slots.size(); ++i) {
        int expected = kFree;
        if (!slots[i].state.compare_exchange_strong(expected, kClaimed)) continue;
        slots[i].folder = folder;
        std::memcpy(slots[i].name, name.data(), name.size());
        slots[i].name[name.size()] = '\0';
        slots[i].state.store(kWatched);
        slot = static_cast<int>(i);
        return;
    }
}

RemovedOnTermination::~RemovedOnTermination() {
    if (slot >= 0) slots[static_cast<std::size_t>(slot)].state.store(kFree);
}

}  // namespace sf
