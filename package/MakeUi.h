#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace sf {

// Packages smaller than this are written too quickly for progress to be worth showing.
inline constexpr uint64_t kProgressWorthShowing = 64ull << 20;

// How the Make command talks to its user: the dialog implements it with
// message boxes and a save dialog, the command line with its options.
class MakeUi {
  public:
    virtual ~MakeUi() = default;

    // A message owned by the dialog: text, a caption naming the action, OK, no icon.
    virtual void message(const std::string& text, const std::string& caption) = 0;

    // An application message: the application's name as caption, a warning icon, OK.
    virtual void applicationMessage(const std::string& text) = 0;

    // The save dialog: the chosen path, or nothing when it was cancelled.
    virtual std::optional<std::filesystem::path> askSavePath() = 0;

    // A Yes/No question; true for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& caption) = 0;

    // How far the writing has come; called often while a package is written.
    virtual void progress(uint64_t /*written*/, uint64_t /*total*/) {}
};

}  // namespace sf
