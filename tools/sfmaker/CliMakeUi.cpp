#include "tools/sfmaker/CliMakeUi.h"

#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

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

}  // namespace

CliMakeUi::CliMakeUi(std::filesystem::path out, bool forced, bool quietly)
    : output(std::move(out)),
      force(forced),
      quiet(quietly),
      toPerson(isatty(fileno(stderr)) != 0) {}

void CliMakeUi::tell(const std::string& text) {
    if (shownPercent >= 0) std::cerr << '\n';
    shownPercent = -1;
    std::cerr << "sfmaker: " << oneLine(text) << '\n';
}

void CliMakeUi::message(const std::string& text, const std::string& caption) {
    if (caption != "Success") return tell(text);
    if (quiet) return;
    if (shownPercent >= 0) std::cerr << '\n';
    std::cout << "Package written: " << pathToUtf8(output) << '\n';
}

void CliMakeUi::applicationMessage(const std::string& text) {
    tell(text);
}

void CliMakeUi::failure(const std::string&, const std::string&, const std::string& detail) {
    tell(detail);
}

void CliMakeUi::applicationFailure(const std::string&, const std::string& detail) {
    tell(detail);
}

std::optional<std::filesystem::path> CliMakeUi::askSavePath() {
    if (asked) return std::nullopt;
    asked = true;
    return output;
}

bool CliMakeUi::askYesNo(const std::string&, const std::string&) {
    if (!force) refused = true;
    return force;
}

void CliMakeUi::note(const std::string& text) {
    if (!quiet) std::cerr << text << '\n';
}

void CliMakeUi::templateOpened(const std::filesystem::path& path) {
    note("template: " + pathToUtf8(path));
}

void CliMakeUi::imageConverted(const std::string& what, const std::string& summary) {
    note(what + ": " + summary);
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
