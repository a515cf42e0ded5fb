#pragma once

#include <CLI/CLI.hpp>

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "settings/ProjectSettings.h"

namespace sf {

// The options of `sfmaker make`, bound to a CLI11 subcommand.
class MakeArguments {
  public:
    explicit MakeArguments(CLI::App& command);

    // The settings to make a package from: `base` with every given option put over it.
    ProjectSettings applyTo(ProjectSettings base) const;

    // True when any option that sets a field or a flag was given.
    bool setsAnyField() const;

    // The seed of the package key: --time, else SOURCE_DATE_EPOCH, else the clock.
    int64_t keyTime() const;

    std::filesystem::path output;
    std::filesystem::path templatePath;
    // A settings file to take every field from (--settings), or empty.
    std::filesystem::path settingsFile;
    bool force = false;

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
