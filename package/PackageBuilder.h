#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

#include "package/MakeUi.h"
#include "package/TemplateSearch.h"
#include "settings/ProjectSettings.h"

namespace sf {

enum class MakeOutcome { Written, Failed, Cancelled };

// The Make command: checks and opens every input, asks for the output name,
// and writes the package all at once or not at all.
class PackageBuilder {
  public:
    struct Options {
        // Where the template is looked for, in order; each Make takes the
        // first that is there.
        std::vector<std::filesystem::path> templatePaths;
        // Seconds since 1970; the low 32 bits seed the package key.
        std::function<int64_t()> clock;
        // Images written by toolchains (ELF, Intel HEX, S-records) are turned
        // into the flat image the device takes; false takes every file as bytes.
        bool convertImages = true;
    };

    // The template of that name where templateSearchPath looks for it, and
    // the system clock.
    static Options systemOptions(std::u16string_view templateName = kTemplateFileName);

    PackageBuilder() : PackageBuilder(systemOptions()) {}
    explicit PackageBuilder(Options options);

    // Makes one package from the settings and their four flags. Every outcome
    // is shown through `ui`; the result tells the caller which it was.
    MakeOutcome make(const ProjectSettings& settings, MakeUi& ui) const;

  private:
    Options options;
};

}  // namespace sf
