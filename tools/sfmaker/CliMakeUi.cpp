#include "tools/sfmaker/CliMakeUi.h"

#include <iostream>

#include "platform/Console.h"
#include "platform/Interrupt.h"
#include "platform/Utf.h"

namespace sf {
namespace {

std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n') c = ' ';
    }
    return text;
}

std::string imageName(ImageKind image) {
    return image == ImageKind::Internal ? "internal image" : "external image";
}

// What failed, with the file and the reason, in one line.
std::string failureText(const MakeFailure& f) {
    using Kind = MakeFailure::Kind;
    const std::string path = quotedPath(f.path);
    switch (f.kind) {
        case Kind::NoInternalImage:
            return "no internal image is named";
        case Kind::TemplateNotFound:
            return "cannot find the template: " + f.reason;
        case Kind::TemplateUnreadable:
            return "cannot open the template " + path + ": " + f.reason;
        case Kind::ImageUnreadable:
            return "cannot open the " + imageName(f.image) + " " + path + ": " + f.reason;
        case Kind::ImageInvalid:
            return "cannot read the " + imageName(f.image) + " " + f.reason;
        case Kind::ImageTooLarge:
            return "the " + imageName(f.image) + " " + path + " holds " + std::to_string(f.size) +
                   " bytes; a package can hold images of at most 4294967295 bytes (4 GiB - 1)";
        case Kind::NoCommandKeyFile:
            return "the command key is on, but no command-key file is named";
        case Kind::CommandKeyUnreadable:
            return "cannot open the command-key file " + path + ": " + f.reason;
        case Kind::CommandKeyTooLong:
            return "the command-key file " + path + " holds " + std::to_string(f.size) +
                   " bytes; a command key is at most 64 bytes";
        case Kind::OutputUnwritable:
            return "cannot write the package " + path + ": " + f.reason;
        case Kind::WriteFailed:
            return "cannot write the package " + path + ": " + f.reason + "; nothing was written";
    }
    return f.reason;
}

}  // namespace

CliMakeUi::CliMakeUi(std::filesystem::path out, bool forced, bool quietly)
    : output(std::move(out)), force(forced), quiet(quietly), toPerson(stderrIsTerminal()) {}

void CliMakeUi::endProgressLine() {
    if (shownPercent >= 0) std::cerr << '\n';
    shownPercent = -1;
}

void CliMakeUi::tell(const std::string& text) {
    endProgressLine();
    std::cerr << "sfmaker: " << oneLine(text) << '\n';
}

std::optional<std::filesystem::path> CliMakeUi::askSavePath() {
    if (asked) return std::nullopt;
    asked = true;
    return output;
}

bool CliMakeUi::confirmOverwrite(const std::filesystem::path& path) {
    if (!force) tell(pathToUtf8(path) + " already exists; pass --force to replace it.");
    return force;
}

void CliMakeUi::failed(const MakeFailure& failure) {
    tell(failureText(failure));
}

void CliMakeUi::packageWritten(const std::filesystem::path& path) {
    if (quiet) return;
    endProgressLine();
    std::cout << "Package written: " << pathToUtf8(path) << '\n';
}

void CliMakeUi::note(const std::string& text) {
    if (!quiet) std::cerr << text << '\n';
}

void CliMakeUi::templateOpened(const std::filesystem::path& path) {
    note("template: " + pathToUtf8(path));
}

void CliMakeUi::imageConverted(ImageKind image, const std::string& summary) {
    note(imageName(image) + ": " + summary);
}

void CliMakeUi::progress(uint64_t written, uint64_t total) {
    // Shown only for large packages, and only to a person.
    if (quiet || total < kProgressWorthShowing || !toPerson) return;
    const int percent = static_cast<int>(written * 100 / total);
    if (percent == shownPercent) return;
    shownPercent = percent;
    std::cerr << "\rWriting package: " << percent << '%' << std::flush;
}

bool CliMakeUi::cancelRequested() {
    return interruptSignal() != 0;
}

}  // namespace sf
