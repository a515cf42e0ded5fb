#include "tools/sfmaker/MakeArguments.h"

#include <charconv>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string_view>
#include <system_error>

#include "platform/Utf.h"
#include "tools/sfmaker/PathOptions.h"

namespace sf {
namespace {

using TextOption = MakeArguments::TextOption;

// --digest and --cmd-key also turn on the flag that goes with them.
constexpr std::array<TextOption, 14> kTextOptions = {{
    {"--title", &ProjectSettings::title, "Program title (up to 32 characters)"},
    {"--text", &ProjectSettings::text, "Program text (up to 50 characters)"},
    {"--note", &ProjectSettings::note, "Program note (up to 100 characters)"},
    {"--internal", &ProjectSettings::internalImagePath, "Internal flash image file"},
    {"--external", &ProjectSettings::externalImagePath, "External image file"},
    {"--version", &ProjectSettings::version, "Program version (up to 16 characters)"},
    {"--ap-pid", &ProjectSettings::apPid, "USB PID of the application (hex)"},
    {"--ap-vid", &ProjectSettings::apVid, "USB VID of the application (hex)"},
    {"--ap-usage", &ProjectSettings::apUsage, "Low byte of the application's HID usage page (hex)"},
    {"--iap-pid", &ProjectSettings::iapPid, "USB PID of the IAP loader (hex)"},
    {"--iap-vid", &ProjectSettings::iapVid, "USB VID of the IAP loader (hex)"},
    {"--iap-usage", &ProjectSettings::iapUsage,
     "Low byte of the IAP loader's HID usage page (hex)"},
    {"--digest", &ProjectSettings::digest, "Internal flash digest (hex); turns the digest on"},
    {"--cmd-key", &ProjectSettings::cmdKeyPath,
     "Command-key file (up to 64 bytes); turns the key on"},
}};

const TextField& fieldOf(const TextOption& option) {
    const TextField* field = &kTextFields.front();
    for (const auto& f : kTextFields) {
        if (f.member == option.member) field = &f;
    }
    return *field;
}

// The paths have no typing limit: their controls are read-only.
bool holdsAPath(const TextOption& option) {
    return fieldOf(option).typingLimit == 0;
}

// Checks a value against the dialog's rules for its field: the typing limit,
// and hex digits only for the USB identifiers and the digest.
CLI::Validator fieldRule(const TextOption& option) {
    const TextField& field = fieldOf(option);
    const auto limit = static_cast<std::size_t>(field.typingLimit);
    const bool hex = field.hexKeysOnly || field.control == IDC_DIGEST;
    return CLI::Validator(
        [limit, hex](std::string& value) -> std::string {
            const std::size_t length = utf8ToUtf16(value).size();
            if (limit > 0 && length > limit) {
                return "at most " + std::to_string(limit) + " characters, got " +
                       std::to_string(length);
            }
            if (hex && value.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
                return "hex digits only (0-9, A-F), got '" + value + "'";
            }
            return {};
        },
        "");
}

// Seconds since 1970 as `date +%s` prints them: decimal digits with an
// optional minus, within 64 bits; nothing for anything else.
std::optional<int64_t> parseSeconds(std::string_view text) {
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end) return std::nullopt;
    return value;
}

CLI::Validator secondsRule() {
    return CLI::Validator(
        [](std::string& value) -> std::string {
            if (parseSeconds(value)) return {};
            return "a whole number of seconds since 1970 that fits in 64 bits, got '" + value + "'";
        },
        "SECONDS");
}

}  // namespace

MakeArguments::MakeArguments(CLI::App& command) {
    addPathOption(command, "--output,-o", output, "The package file to write")->required();
    command.add_flag("--force,-f", force, "Replace the output file when it exists");
    command.add_flag("--raw", raw,
                     "Take every image file as bytes; without it ELF, Intel HEX and S-record "
                     "files are turned into the flat image the device takes");
    addPathOption(command, "--settings", settingsFile,
                  "Take every field from this settings file (as setting.ini holds them); "
                  "other options override it. Without it and without field options, the "
                  "dialog's own setting.ini is used. Relative paths in it name files beside it");
    addPathOption(command, "--template", templatePath,
                  "The template updater (default: AP2.EXE beside sfmaker, else in the user's "
                  "settings folder, else the installed one)");
    for (std::size_t i = 0; i < kTextOptions.size(); ++i) {
        const auto& option = kTextOptions[i];
        textOptions[i] =
            command.add_option(option.name, texts[i], option.help)->check(fieldRule(option));
    }
    command.add_flag("--no-verify", noVerify, "Turn Verify off");
    command.add_flag("--cmd-via-control-endpoint", cmdViaControlEndpoint,
                     "Send commands through the control endpoint");
    command
        .add_option_function<std::string>(
            "--time", [this](const std::string& value) { time = parseSeconds(value); },
            "Seconds since 1970 that seed the package key (reproducible builds)")
        ->check(secondsRule());
}

ProjectSettings MakeArguments::applyTo(ProjectSettings settings) const {
    for (std::size_t i = 0; i < kTextOptions.size(); ++i) {
        if (textOptions[i]->count() == 0) continue;
        // A path keeps its bytes, whatever they are; a text is UTF-8.
        settings.*kTextOptions[i].member = holdsAPath(kTextOptions[i])
                                               ? pathToUtf16(pathFromUtf8(texts[i]))
                                               : utf8ToUtf16(texts[i]);
    }
    if (given(&ProjectSettings::cmdKeyPath)) settings.cmdKeyEnabled = true;
    if (given(&ProjectSettings::digest)) settings.digestEnabled = true;
    settings.verify = !noVerify;
    settings.cmdViaControlEndpoint = cmdViaControlEndpoint;
    return settings;
}

bool MakeArguments::given(std::u16string ProjectSettings::*member) const {
    for (std::size_t i = 0; i < kTextOptions.size(); ++i) {
        if (kTextOptions[i].member == member) return textOptions[i]->count() > 0;
    }
    return false;
}

bool MakeArguments::setsAnyField() const {
    for (auto* option : textOptions) {
        if (option->count() > 0) return true;
    }
    return false;
}

Result<int64_t> MakeArguments::keyTime() const {
    if (time) return *time;
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
        if (auto seconds = parseSeconds(epoch)) return *seconds;
        return Error{"SOURCE_DATE_EPOCH is '" + std::string(epoch) +
                     "', not a whole number of seconds since 1970; set it to one, or unset it"};
    }
    return static_cast<int64_t>(std::time(nullptr));
}

}  // namespace sf
