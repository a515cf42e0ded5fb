#include "package/PackageBuilder.h"

#include <algorithm>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "image/FirmwareImage.h"
#include "package/PackageLayout.h"
#include "package/PackageTrailer.h"
#include "package/PackageWriter.h"
#include "platform/AtomicOutputFile.h"
#include "platform/InputFile.h"
#include "platform/Utf.h"

namespace sf {
namespace {

constexpr const char* kTemplateNotOpened = "Can not open AP.EXE file!";

// Opens one input of the command, or tells the user why it cannot be opened:
// the dialog's words `text` and `caption`, and a detail that names `what`.
std::optional<InputFile> openInput(const std::filesystem::path& path, const std::string& what,
                                   MakeUi& ui, const char* text, const char* caption) {
    auto file = InputFile::open(path);
    if (!file) {
        ui.failure(text, caption,
                   "cannot open " + what + " " + quotedPath(path) + ": " + file.error());
        return std::nullopt;
    }
    return std::move(*file);
}

// Opens an image and reads it as the device takes it: a toolchain's file
// (ELF, Intel HEX, S-records) as its flat image, anything else as it is. A
// 32-bit length cannot describe an image of 4 GiB or more; only a raw file
// can be that large, since a toolchain's file is held to kMaxImageSize as it
// is read.
std::optional<FirmwareImage> openImage(const std::u16string& pathText, const std::string& what,
                                       bool convert, MakeUi& ui) {
    const auto path = pathFromUtf16(pathText);
    auto file = openInput(path, "the " + what, ui, "Can not open Image file!", "Open File");
    if (!file) return std::nullopt;
    auto image = FirmwareImage::read(fileSource(std::move(*file)), pathToUtf8(path),
                                     {kMaxImageSize, convert});
    if (!image) {
        ui.failure("Can not open Image file!", "Open File",
                   "cannot read the " + what + " " + image.error());
        return std::nullopt;
    }
    if (image->size() > kMaxImageSize) {
        ui.message("The image " + pathToUtf8(path) + " holds " + std::to_string(image->size()) +
                       " bytes; a package can hold images of at most 4294967295 bytes (4 GiB - 1).",
                   "Open File");
        return std::nullopt;
    }
    if (image->format() != ImageFormat::Raw) ui.imageConverted(what, image->summary());
    return std::move(*image);
}

// Opens the first of the template's places that holds anything under its
// name; what is there but cannot be read is told with its reason, not passed
// over. A single place (a template the user named) is opened as it is.
std::optional<InputFile> openTemplate(const std::vector<std::filesystem::path>& places,
                                      MakeUi& ui) {
    const auto found = std::find_if(places.begin(), places.end(), [](const auto& place) {
        std::error_code ec;
        return std::filesystem::status(place, ec).type() != std::filesystem::file_type::not_found;
    });
    if (found == places.end() && places.size() != 1) {
        std::string looked;
        for (std::size_t i = 0; i < places.size(); ++i) {
            if (i > 0) looked += i + 1 == places.size() ? " and " : ", ";
            looked += quotedPath(places[i]);
        }
        ui.failure(kTemplateNotOpened, "Open File",
                   "cannot find the template: looked for " + looked);
        return std::nullopt;
    }
    const auto& path = found == places.end() ? places.front() : *found;
    auto file = openInput(path, "the template", ui, kTemplateNotOpened, "Open File");
    if (file) ui.templateOpened(path);
    return file;
}

constexpr const char* kOverwriteQuestion = "File already exists!\nOverwrite?";

struct ChosenOutput {
    std::filesystem::path path;
    // Replace only a file the user agreed to replace; a name that was free
    // when asked must still be free when the package takes it.
    AtomicOutputFile::IfExists ifExists;
};

// Asks for the output until the user picks a free name, agrees to replace an
// existing file, or cancels. The name is looked at without opening it, so a
// file that cannot be read is seen too. What cannot be replaced (a folder, a
// device, a named pipe) is not asked about: making the output refuses it.
std::optional<ChosenOutput> chooseOutput(MakeUi& ui) {
    for (;;) {
        auto path = ui.askSavePath();
        if (!path) return std::nullopt;
        const auto exists = outputExists(*path);
        if (!exists || !*exists) return ChosenOutput{*path, AtomicOutputFile::IfExists::Fail};
        if (ui.askYesNo(kOverwriteQuestion, "Save File")) {
            return ChosenOutput{*path, AtomicOutputFile::IfExists::Replace};
        }
    }
}

// Puts the written package in place. A file that another program made under
// the chosen name meanwhile is replaced only when the user agrees now.
std::optional<Status> commitOutput(AtomicOutputFile& file, const ChosenOutput& output, MakeUi& ui) {
    Status committed = file.commit(output.ifExists);
    if (committed || !file.foundExisting()) return committed;
    if (!ui.askYesNo(kOverwriteQuestion, "Save File")) return std::nullopt;
    return file.commit(AtomicOutputFile::IfExists::Replace);
}

}  // namespace

PackageBuilder::Options PackageBuilder::systemOptions(std::u16string_view templateName) {
    return {templateSearchPath(templateName),
            [] { return static_cast<int64_t>(std::time(nullptr)); }};
}

PackageBuilder::PackageBuilder(Options o) : options(std::move(o)) {}

MakeOutcome PackageBuilder::make(const ProjectSettings& settings, MakeUi& ui) const {
    if (settings.internalImagePath.empty()) {
        ui.failure("Please specify image path!", "Select Image", "no internal image is named");
        return MakeOutcome::Failed;
    }

    auto templateFile = openTemplate(options.templatePaths, ui);
    if (!templateFile) return MakeOutcome::Failed;

    auto internalImage =
        openImage(settings.internalImagePath, "internal image", options.convertImages, ui);
    if (!internalImage) return MakeOutcome::Failed;

    std::optional<FirmwareImage> externalImage;
    if (!settings.externalImagePath.empty()) {
        externalImage =
            openImage(settings.externalImagePath, "external image", options.convertImages, ui);
        if (!externalImage) return MakeOutcome::Failed;
    }

    std::string cmdKey;
    if (settings.cmdKeyEnabled) {
        if (settings.cmdKeyPath.empty()) {
            ui.applicationFailure("Please select Command-key file!",
                                  "the command key is on, but no command-key file is named");
            return MakeOutcome::Failed;
        }
        auto keyFile = openInput(pathFromUtf16(settings.cmdKeyPath), "the command-key file", ui,
                                 "Can not open Command Key file!", "Open Command Key");
        if (!keyFile) return MakeOutcome::Failed;
        if (keyFile->size() > kMaxCmdKeySize) {
            ui.applicationFailure("Command-key maxiumn is 64 bytes!",
                                  "the command-key file " + quotedPath(keyFile->path()) +
                                      " holds " + std::to_string(keyFile->size()) +
                                      " bytes; a command key is at most 64 bytes");
            return MakeOutcome::Failed;
        }
        cmdKey.resize(static_cast<std::size_t>(keyFile->size()));
        if (auto read = keyFile->readExactly(cmdKey.data(), cmdKey.size()); !read) {
            ui.failure("Can not open Command Key file!", "Open Command Key", read.error());
            return MakeOutcome::Failed;
        }
    }

    const auto output = chooseOutput(ui);
    if (!output) return MakeOutcome::Cancelled;

    const auto seed = static_cast<uint32_t>(options.clock());
    const PackageTrailer trailer = makePackageTrailer(
        settings, std::span(reinterpret_cast<const uint8_t*>(cmdKey.data()), cmdKey.size()),
        static_cast<uint32_t>(internalImage->size()),
        static_cast<uint32_t>(externalImage ? externalImage->size() : 0), seed);

    auto file = AtomicOutputFile::create(output->path, AtomicOutputFile::Mode::Executable);
    if (!file) {
        // The system's reason follows the dialog's fixed words on a line of its own.
        ui.failure(pathToUtf8(output->path) + "File cannot be opened for writing!\n" + file.error(),
                   "Save File",
                   "cannot write the package " + quotedPath(output->path) + ": " + file.error());
        return MakeOutcome::Failed;
    }
    const PackageInputs inputs{&*templateFile, &*internalImage,
                               externalImage ? &*externalImage : nullptr};
    const auto wrote = writePackage(*file, inputs, trailer, [&ui](uint64_t done, uint64_t total) {
        ui.progress(done, total);
        return !ui.cancelRequested();
    });
    // Windows cannot replace a file that is still open, and the output may
    // name one of the inputs: close them all before the output takes its place.
    templateFile.reset();
    internalImage.reset();
    externalImage.reset();
    if (wrote && *wrote == WriteEnd::Stopped) return MakeOutcome::Cancelled;
    Status written = wrote ? file->flush() : Error{wrote.error()};
    // Flushing a large package to disk takes a while: a stop asked for meanwhile still counts.
    if (written && ui.cancelRequested()) return MakeOutcome::Cancelled;
    if (written) {
        auto committed = commitOutput(*file, *output, ui);
        if (!committed) return MakeOutcome::Cancelled;
        written = *committed;
    }
    if (!written) {
        ui.failure(
            "The package could not be written: " + written.error() +
                ".\nNo package was written, and any existing file of that name was left as it was.",
            "Save File",
            "cannot write the package " + quotedPath(output->path) + ": " + written.error() +
                "; nothing was written");
        return MakeOutcome::Failed;
    }
    ui.message("Operation Success!", "Success");
    return MakeOutcome::Written;
}

}  // namespace sf
