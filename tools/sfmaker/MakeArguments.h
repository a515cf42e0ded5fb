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

// The command whose options these are: `make` writes a package, `verify`
// builds one from the same sources with another package's key seed and
// writes nothing, so it has no output, --force, --strict, --quiet or --time.
enum class SourcesCommand { Make, Verify };

// The options of `sfmaker make` (and the sources options of `sfmaker
// verify`), bound to a CLI11 subcommand.
class MakeArguments {
  public:
    explicit MakeArguments(CLI::App& command, SourcesCommand purpose = SourcesCommand::Make);

    // The settings to make a package from: `base` with every given option put
    // over it. --no-verify turns Verify off and --cmd-via-control-endpoint
    // turns the endpoint on; without them the two flags stay as `base` has them.
    ProjectSettings applyTo(ProjectSettings base) const;

    // The option that sets the text field of `control`; empty for another control.
    static std::string optionOf(ControlId control);

    // True when any option that sets a text field was given. --no-verify and
    // --cmd-via-control-endpoint do not count: the dialog never stores their
    // two flags, so its setting.ini is read with or without them.
    bool setsAnyField() const;

    // The seed of the package key: --time, else `settingsSeed` (the seed a
    // settings file asks for, to make one exact package again), else
    // SOURCE_DATE_EPOCH (unless it is empty), else the clock. A SOURCE_DATE_EPOCH that is not a
    // whole number of seconds is an error naming it, never a reason to take the clock.
    Expected<int64_t> keyTime(std::optional<int64_t> settingsSeed = {}) const;

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

  private:
    bool given(const TextField& field) const;

    // The value and the option of each text field, in the table's order.
    std::array<std::string, kTextFields.size()> texts;
    std::array<CLI::Option*, kTextFields.size()> textOptions{};
    bool noVerify = false;
    bool cmdViaControlEndpoint = false;
    std::optional<int64_t> time;
};

}  // namespace sf
