#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <version>

// GCC's library has std::expected from C++23 on; clang (the fuzzing build)
// cannot read that header yet, and takes tl::expected, which has the same
// interface.
#if defined(__cpp_lib_expected)
#include <expected>
#else
#include <tl/expected.hpp>
#endif

namespace sf {

// What kind of failure an Error is, for callers that act on it rather than
// only show it.
enum class ErrorKind {
    // Anything else: the message says what went wrong.
    Failed,
    // A file stands at the name that a new one was to take.
    AlreadyExists,
    // The user asked to stop (a Cancel button, Ctrl+C).
    Stopped,
    // The input is not in the format that was asked about: a reader of
    // several formats tries the next one.
    NotThisFormat,
};

// A failure with a message meant for the user: what went wrong and what to do.
struct Error {
    ErrorKind kind = ErrorKind::Failed;
    std::string message;

    // The same failure, told after what was being done: "cannot open 'x': ".
    Error after(std::string_view context) const& { return {kind, std::string(context) + message}; }
};

#if defined(__cpp_lib_expected)
template <typename T>
using Expected = std::expected<T, Error>;
using Unexpected = std::unexpected<Error>;
#else
template <typename T>
using Expected = tl::expected<T, Error>;
using Unexpected = tl::unexpected<Error>;
#endif

// A result that carries nothing but success or an Error. The core reports
// every failure as an Expected and never prints; the dialog and the CLI
// decide how to show the message.
using Status = Expected<void>;

inline Status success() {
    return {};
}

// A failure to return.
inline Unexpected fail(std::string message, ErrorKind kind = ErrorKind::Failed) {
    return Unexpected(Error{kind, std::move(message)});
}
inline Unexpected fail(Error error) {
    return Unexpected(std::move(error));
}

// The failure of `result`, passed on unchanged to a caller whose result
// carries another value.
template <typename T>
Unexpected failureOf(const Expected<T>& result) {
    return Unexpected(result.error());
}

}  // namespace sf
