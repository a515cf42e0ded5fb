#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace sf {

// Packages smaller than this are written too quickly for progress to be worth showing.
inline constexpr uint64_t kProgressWorthShowing = 64ull << 20;

// Which of a package's two images something is about.
enum class ImageKind { Internal = 1, External = 2 };

// Why the Make command stopped without a package.
struct MakeFailure {
    enum class Kind {
        // No internal image is named.
        NoInternalImage,
        // None of the template's places holds one; `reason` lists where it was looked for.
        TemplateNotFound,
        // The template at `path` cannot be opened.
        TemplateUnreadable,
        // The `image` at `path` cannot be opened.
        ImageUnreadable,
        // The `image` at `path` opened, but its contents are refused (a broken
        // HEX line, say); `reason` names the file and what is wrong.
        ImageInvalid,
        // The `image` at `path` holds `size` bytes, more than a package can describe.
        ImageTooLarge,
        // The command key is on, but no command-key file is named.
        NoCommandKeyFile,
        // The command-key file at `path` cannot be opened or read.
        CommandKeyUnreadable,
        // The command-key file at `path` holds `size` bytes, more than a command key takes.
        CommandKeyTooLong,
        // The package cannot be made at `path`.
        OutputUnwritable,
        // Writing the package to `path` failed; nothing was written.
        WriteFailed,
    };

    Kind kind = Kind::NoInternalImage;
    std::filesystem::path path = {};
    // The system's reason, or what is wrong, for the kinds that have one.
    std::string reason = {};
    ImageKind image = ImageKind::Internal;
    uint64_t size = 0;
};

// How the Make command talks to its user: the dialog implements it with
// message boxes and a save dialog, the command line with its options. Each
// call is an event of the command; the user interface chooses its words.
class MakeUi {
  public:
    virtual ~MakeUi() = default;

    // The save dialog: the chosen path, or nothing when it was cancelled.
    virtual std::optional<std::filesystem::path> askSavePath() = 0;

    // A file stands at the chosen output: true to replace it.
    virtual bool confirmOverwrite(const std::filesystem::path& output) = 0;

    // The command stopped without a package.
    virtual void failed(const MakeFailure& failure) = 0;

    // The package is complete at `output`.
    virtual void packageWritten(const std::filesystem::path& output) = 0;

    // The template the package is made from, found where the template is looked for.
    virtual void templateOpened(const std::filesystem::path& /*path*/) {}

    // An image was read from a toolchain's file format; `summary` says what
    // was read (format, addresses, size).
    virtual void imageConverted(ImageKind /*image*/, const std::string& /*summary*/) {}

    // How far the writing has come; called often while a package is written.
    virtual void progress(uint64_t /*written*/, uint64_t /*total*/) {}

    // Whether the user asked to stop the make (a progress window's Cancel
    // button, Ctrl+C): asked after each progress() and once more before the
    // package takes its name. A stopped make leaves no file behind, an
    // existing file of that name as it was, and says nothing.
    virtual bool cancelRequested() { return false; }
};

}  // namespace sf
