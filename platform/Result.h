#pragma once

#include <string>
#include <utility>
#include <variant>

namespace sf {

// A failure with a message meant for the user: what went wrong and what to do.
struct Error {
    std::string message;
};

// Either a value or an Error. The core reports every failure this way and
// never prints; the dialog and the CLI decide how to show the message.
template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state(std::move(value)) {}
    Result(Error error) : state(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(state); }
    explicit operator bool() const { return ok(); }

    T& value() { return std::get<T>(state); }
    const T& value() const { return std::get<T>(state); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }

    const std::string& error() const { return std::get<Error>(state).message; }

  private:
    std::variant<T, Error> state;
};

// The success value of a Result that carries nothing else.
struct Done {};

using Status = Result<Done>;

inline Status success() {
    return Done{};
}

}  // namespace sf
