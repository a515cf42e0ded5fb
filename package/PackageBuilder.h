#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/FirmwareImage.h"
#include "package/MakeUi.h"
#include "package/PackageTrailer.h"
#include "package/TemplateSearch.h"
#include "platform/InputFile.h"
#include "settings/ProjectSettings.h"

namespace sf {

enum class MakeOutcome { Written, Failed, Cancelled };

// The inputs of one package, opened and checked: the template, copied as it
// is, the flat images, and the command key's bytes (none when it is off).
struct OpenedInputs {
    InputFile templateFile;
    FirmwareImage internalImage;
    std::optional<FirmwareImage> externalImage;
    std::string cmdKey;

    // The trailer that ends the package of these inputs and `settings`, its
    // key drawn from a generator seeded with `seed`.
    PackageTrailer trailer(const ProjectSettings& settings, uint32_t seed) const;
};

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

    // The first step of make(): checks and opens every input the settings
    // name. A failure is shown through `ui`, and nothing is returned.
    std::optional<OpenedInputs> openInputs(const ProjectSettings& settings, MakeUi& ui) const;

  private:
    Options options;
};

}  // namespace sf
