#include "tools/sfmaker/Help.h"

#include <memory>
#include <string>

#include "ProjectVersion.h"

namespace sf {
namespace {

constexpr const char* kExitStatus = R"(Exit status:
  0  success
  1  failure; stderr says which file, for what, and why
  2  usage error)";

constexpr const char* kComparisonExitStatus = R"(Exit status of diff and verify:
  0  the same content (the key may differ); the output says whether the
     files are byte-identical too
  1  a difference; each differing field is named with both values
  2  trouble: a file missing, unreadable or not a package, sources that
     cannot be read, or a usage error)";

constexpr const char* kMakeNotes = R"(

Where make takes the fields from:
  With --settings FILE every field comes from FILE, and the options given
  beside it override it. Without --settings and without field options, the
  dialog's own setting.ini gives them. Otherwise each text not given keeps the
  dialog's start value, shown with its option.
  The package.ini that extract writes also has a section [sfmaker] with what
  only a package holds: Template (the template file), KeySeed (the seconds that
  seeded the key, which --time overrides), Verify and CommandViaControlEndpoint
  (0 or 1) and Images=bytes (the images are taken byte for byte). A file with
  that section describes one whole package: a key it leaves empty gives an
  empty field, not the start value, so make --settings DIR/package.ini gives
  the same package again (byte for byte when it names a KeySeed).

Warnings of make:
  A package that would ship the dialog's placeholder note, or an empty
  application VID or PID, is made with a warning on stderr; --strict refuses
  it instead (exit 1, nothing written).

Environment:
  SOURCE_DATE_EPOCH   seconds since 1970 that seed the package key when neither
                      --time nor the settings file's KeySeed gives them, so the
                      same inputs give the same bytes; without any of them the
                      clock seeds it)";

// Shows every command under a heading of its usage, with its options listed
// as the program's own are: a layout that help2man turns into a subsection
// each.
class FullHelp : public CLI::Formatter {
  public:
    std::string make_subcommands(const CLI::App* program, CLI::AppFormatMode mode) const override {
        if (mode != CLI::AppFormatMode::All) return CLI::Formatter::make_subcommands(program, mode);
        std::string text;
        for (const CLI::App* command : program->get_subcommands({})) {
            std::string usage =
                make_usage(command, program->get_name() + " " + command->get_name());
            usage = usage.substr(usage.find(' ') + 1);
            usage.back() = ':';
            text += "\n" + usage + "\n  " + command->get_description() + "\n\n";
            for (const CLI::Option* option : command->get_options()) {
                if (option == command->get_help_all_ptr()) continue;
                text += make_option(option, option->get_positional());
            }
        }
        return text;
    }
};

}  // namespace

void addHelpAndVersion(CLI::App& program) {
    auto help = std::make_shared<FullHelp>();
    help->label("SUBCOMMAND", "COMMAND");
    help->label("Subcommands", "Commands");
    program.formatter(help);
    program.set_help_flag();
    program.set_help_all_flag("-h,--help", "Print this help and exit");
    program.set_version_flag("--version", "sfmaker " SF_VERSION, "Print the version and exit");
}

void addNotes(CLI::App& program, CLI::App& make, std::initializer_list<CLI::App*> comparing) {
    const std::string makeNotes = std::string(kExitStatus) + kMakeNotes;
    program.footer(std::string(kExitStatus) + "\n\n" + kComparisonExitStatus + kMakeNotes);
    for (CLI::App* command : program.get_subcommands({})) {
        command->footer(command == &make ? makeNotes : kExitStatus);
    }
    for (CLI::App* command : comparing) command->footer(kComparisonExitStatus);
}

}  // namespace sf
