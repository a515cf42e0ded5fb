#include "tools/sfmaker/MakeArguments.h"

#include <cstdlib>
#include <ctime>
#include <optional>
#include <system_error>

#include "platform/Utf.h"
#include "settings/PackageSection.h"
#include "tools/sfmaker/PathOptions.h"

namespace sf {
namespace {

const char* typeOf(const TextField& field) {
    switch (field.kind) {
        case ValueKind::Path:
            return "FILE";
        case ValueKind::HexDigits:
            return "HEX";
        case ValueKind::Text:
            break;
    }
    return "TEXT";
}

// The field's help goes on with its typing limit and start value. --digest
// and --cmd-key also turn on the flag that goes with them.
std::string helpOf(const TextField& field) {
    const std::string limit = std::to_string(field.typingLimit);
    switch (field.kind) {
        case ValueKind::Path:
            return field.optionHelp;
        case ValueKind::HexDigits:
            return std::string(field.optionHelp) + " (up to " + limit +
                   " hex digits; a 0x prefix is dropped)";
        case ValueKind::Text:
            break;
    }
    std::string help = std::string(field.optionHelp) + " (up to " + limit + " characters";
    const std::u16string start = ProjectSettings{}.*field.member;
    if (!start.empty()) help += "; the dialog starts with \"" + utf16ToUtf8(start) + "\"";
    return help + ")";
}

// Checks a value against the dialog's rules for its field: the typing limit,
// and hex digits only for the USB identifiers and the digest. The 0x that
// other tools write before hex numbers is dropped, so what is kept is what
// the dialog would hold: the digits alone.
CLI::Validator fieldRule(const TextField& field) {
    const auto limit = static_cast<std::size_t>(field.typingLimit);
    const bool hex = field.kind == ValueKind::HexDigits;
    return CLI::Validator(
        [limit, hex](std::string& value) -> std::string {
            const std::string typed = value;
            if (hex && (value.starts_with("0x") || value.starts_with("0X"))) {
                value.erase(0, 2);
                if (value.empty()) return "hex digits after 0x, got none";
            }
            const std::size_t length = utf8ToUtf16(value).size();
            if (limit > 0 && length > limit) {
                return "at most " + std::to_string(limit) + (hex ? " hex digits" : " characters") +
                       ", got " + std::to_string(length);
            }
            if (hex && value.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
                return "hex digits only (0-9, A-F, after an optional 0x), got '" + typed + "'";
            }
            return {};
        },
        "");
}

CLI::Validator secondsRule() {
    return CLI::Validator(
        [](std::string& value) -> std::string {
            if (parseSeconds(value)) return {};
            return "a whole number of seconds since 1970 that fits in 64 bits, got '" + value + "'";
        },
        "");
}

}  // namespace

MakeArguments::MakeArguments(CLI::App& command, SourcesCommand purpose) {
    const bool make = purpose == SourcesCommand::Make;
    if (make) {
        addPathOption(command, "--output,-o", output, "The package file to write")->required();
        command.add_flag("--force,-f", force, "Replace the output file when it exists");
        command.add_flag("--strict", strict,
                         "Refuse to make a package that gives a warning (exit 1, nothing written)");
        command.add_flag("--quiet,-q", quiet,
                         "Print errors only: no progress, no converted-image lines, no \"Package "
                         "written\", and no warnings unless --strict makes them errors");
    }
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
    for (const TextField& field : kTextFields) {
        const std::size_t i = indexOf(field);
        textOptions[i] = command.add_option(field.option, texts[i], helpOf(field))
                             ->transform(fieldRule(field))
                             ->type_name(typeOf(field));
    }
    command.add_flag("--no-verify", noVerify, "Turn Verify off");
    command.add_flag("--cmd-via-control-endpoint", cmdViaControlEndpoint,
                     "Send commands through the control endpoint");
    if (!make) return;
    command
        .add_option_function<std::string>(
            "--time", [this](const std::string& value) { time = parseSeconds(value); },
            "Seconds since 1970 that seed the package key (reproducible builds)")
        ->check(secondsRule())
        ->type_name("SECONDS");
}

ProjectSettings MakeArguments::applyTo(ProjectSettings settings) const {
    for (const TextField& field : kTextFields) {
        if (!given(field)) continue;
        // A path keeps its bytes, whatever they are; a text is UTF-8.
        const std::string& value = texts[indexOf(field)];
        settings.*field.member =
            holdsAPath(field) ? pathToUtf16(pathFromUtf8(value)) : utf8ToUtf16(value);
    }
    if (given(textFieldOf(IDC_CMDKEY_PATH))) settings.cmdKeyEnabled = true;
    if (given(textFieldOf(IDC_DIGEST))) settings.digestEnabled = true;
    if (noVerify) settings.verify = false;
    if (cmdViaControlEndpoint) settings.cmdViaControlEndpoint = true;
    return settings;
}

bool MakeArguments::given(const TextField& field) const {
    return textOptions[indexOf(field)]->count() > 0;
}

std::string MakeArguments::optionOf(ControlId control) {
    const TextField* field = findTextField(control);
    return field ? field->option : "";
}

bool MakeArguments::setsAnyField() const {
    for (auto* option : textOptions) {
        if (option->count() > 0) return true;
    }
    return false;
}

Expected<int64_t> MakeArguments::keyTime(std::optional<int64_t> settingsSeed) const {
    if (time) return *time;
    if (settingsSeed) return *settingsSeed;
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
        if (auto seconds = parseSeconds(epoch)) return *seconds;
        return fail("SOURCE_DATE_EPOCH is '" + std::string(epoch) +
                    "', not a whole number of seconds since 1970; set it to one, or unset it");
    }
    return static_cast<int64_t>(std::time(nullptr));
}

}  // namespace sf
