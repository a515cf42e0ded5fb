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

    // A failure that the dialog shows as message(text, caption), in its fixed
    // words. `detail` says it in one sentence that a user can act on: what
    // failed, with the path and the system's reason. A front end that can do
    // better than the dialog's words shows the detail instead.
    virtual void failure(const std::string& text, const std::string& caption,
                         const std::string& /*detail*/) {
        message(text, caption);
    }

    // The same for an application message.
    virtual void applicationFailure(const std::string& text, const std::string& /*detail*/) {
        applicationMessage(text);
    }

    // The save dialog: the chosen path, or nothing when it was cancelled.
    virtual std::optional<std::filesystem::path> askSavePath() = 0;

    // A Yes/No question; true for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& caption) = 0;

    // The template the package is made from, found where the template is looked for.
    virtual void templateOpened(const std::filesystem::path& /*path*/) {}

    // An image was read from a toolchain's file format: `what` names the image
    // ("internal image"), `summary` says what was read (format, addresses, size).
    virtual void imageConverted(const std::string& /*what*/, const std::string& /*summary*/) {}

    // How far the writing has come; called often while a package is written.
    virtual void progress(uint64_t /*written*/, uint64_t /*total*/) {}

    // Whether the user asked to stop the make (a progress window's Cancel
    // button, Ctrl+C): asked after each progress() and once more before the
    // package takes its name. A stopped make leaves no file behind, an
    // existing file of that name as it was, and says nothing.
    virtual bool cancelRequested() { return false; }
};

}  // namespace sf
