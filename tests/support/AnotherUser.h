#pragma once

#ifndef _WIN32
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

namespace sf::test {

// File permissions are checked as user and group 65534 (nobody) when the tests
// run as the superuser, whom permissions do not stop; otherwise as the
// current user, whom they stop already.
inline constexpr uid_t kAnotherUser = 65534;

inline bool runningAsSuperuser() {
    return ::geteuid() == 0;
}

// The prefix that runs a shell command as that user.
inline std::string asAnotherUserCommand() {
    return runningAsSuperuser() ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
}

// Hands a file or folder to that user; false when that failed.
[[nodiscard]] inline bool giveToAnotherUser(const std::filesystem::path& path) {
    return !runningAsSuperuser() || ::chown(path.c_str(), kAnotherUser, kAnotherUser) == 0;
}

// Runs `body` in a child process as that user and returns the text it returns.
inline std::string asAnotherUser(const std::function<std::string()>& body) {
    int channel[2];
    if (::pipe(channel) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (runningAsSuperuser() && (::setgroups(0, nullptr) != 0 ||
                                     ::setresgid(kAnotherUser, kAnotherUser, kAnotherUser) != 0 ||
                                     ::setresuid(kAnotherUser, kAnotherUser, kAnotherUser) != 0)) {
            ::_exit(1);
        }
        const std::string text = body();
        (void)!::write(channel[1], text.data(), text.size());
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return text;
}

}  // namespace sf::test
#endif
