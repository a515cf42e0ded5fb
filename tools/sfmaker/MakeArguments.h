#pragma once

#include <CLI/CLI.hpp>

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/Expected.h"
#include "settings/ProjectSettings.h"

namespace sf {

// The options of `sfmaker make`, bound to a CLI11 subcommand.
class MakeArguments {
  public:
    explicit MakeArguments(CLI::App& command);

    // The settings to make a package from: `base` with every given option put over it.
    ProjectSettings applyTo(ProjectSettings base) const;

    // The option that sets the text field of `control`; empty for another control.
    static std::string optionOf(ControlId control);

    // True when any option that sets a text field was given. --no-verify and
    // --cmd-via-control-endpoint do not count: applyTo() sets their two flags
    // from the options whatever the base holds.
    bool setsAnyField() const;

    // The seed of the package key: --time, else SOURCE_DATE_EPOCH (unless it
    // is empty), else the clock. A SOURCE_DATE_EPOCH that is not a whole number
    // of seconds is an error naming it, never a reason to take the clock.
    Expected<int64_t> keyTime() const;

    std::filesystem::path output;
    std::filesystem::path templatePath;
    // A settings file to take every field from (--settings), or empty.
    std::filesystem::path settingsFile;
    bool force = false;
    // Refuse a package that gives warnings, rather than warn and make it.
    bool strict = false;
    // Print errors only.
    bool quiet = false;
    // Take every image as bytes, whatever format its file shows.
    bool raw = false;

    // One option that sets a text field.
    struct TextOption {
        const char* name;
        std::u16string ProjectSettings::*member;
        const char* help;
    };

  private:
    bool given(std::u16string ProjectSettings::*member) const;

    std::array<std::string, 14> texts;
    std::array<CLI::Option*, 14> textOptions{};
    bool noVerify = false;
    bool cmdViaControlEndpoint = false;
    std::optional<int64_t> time;
};

}  // namespace sf
