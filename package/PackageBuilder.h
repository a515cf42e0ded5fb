#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

#include "package/MakeUi.h"
#include "settings/ProjectSettings.h"

namespace sf {

// The template updater every package starts with, looked up in the tool's own folder.
inline constexpr std::u16string_view kTemplateFileName = u"AP2.EXE";

enum class MakeOutcome { Written, Failed, Cancelled };

// The Make command: checks and opens every input, asks for the output name,
// and writes the package all at once or not at all.
class PackageBuilder {
  public:
    struct Options {
        std::filesystem::path templatePath;
        // Seconds since 1970; the low 32 bits seed the package key.
        std::function<int64_t()> clock;
        // Images written by toolchains (ELF, Intel HEX, S-records) are turned
        // into the flat image the device takes; false takes every file as bytes.
        bool convertImages = true;
    };

    // The template of that name beside the running executable, and the system clock.
    static Options besideTool(std::u16string_view templateName = kTemplateFileName);

    PackageBuilder() : PackageBuilder(besideTool()) {}
    explicit PackageBuilder(Options options);

    // Makes one package from the settings and their four flags. Every outcome
    // is shown through `ui`; the result tells the caller which it was.
    MakeOutcome make(const ProjectSettings& settings, MakeUi& ui) const;

  private:
    Options options;
};

}  // namespace sf
