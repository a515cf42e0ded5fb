#include "package/PackageBuilder.h"

#include <algorithm>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "package/PackageLayout.h"
#include "package/PackageWriter.h"
#include "platform/AtomicOutputFile.h"
#include "platform/Utf.h"

namespace sf {
namespace {

using Kind = MakeFailure::Kind;

// Opens one input of the command, or tells the user why it cannot be opened.
std::optional<InputFile> openInput(const std::filesystem::path& path, MakeFailure failure,
                                   MakeUi& ui) {
    auto file = InputFile::open(path);
    if (!file) {
        failure.path = path;
        failure.reason = file.error().message;
        ui.failed(failure);
        return std::nullopt;
    }
    return std::move(*file);
}

// Opens an image and reads it as the device takes it: a toolchain's file
// (ELF, Intel HEX, S-records) as its flat image, anything else as it is. A
// 32-bit length cannot describe an image of 4 GiB or more; only a raw file
// can be that large, since a toolchain's file is held to kMaxImageSize as it
// is read.
std::optional<FirmwareImage> openImage(const std::u16string& pathText, ImageKind kind, bool convert,
                                       MakeUi& ui) {
    const auto path = pathFromUtf16(pathText);
    auto file = openInput(path, {.kind = Kind::ImageUnreadable, .image = kind}, ui);
    if (!file) return std::nullopt;
    auto image = FirmwareImage::read(fileSource(std::move(*file)), pathToUtf8(path),
                                     {kMaxImageSize, convert});
    if (!image) {
        ui.failed({Kind::ImageInvalid, path, image.error().message, kind});
        return std::nullopt;
    }
    if (image->size() > kMaxImageSize) {
        ui.failed({Kind::ImageTooLarge, path, {}, kind, image->size()});
        return std::nullopt;
    }
    if (image->format() != ImageFormat::Raw) ui.imageConverted(kind, image->summary());
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
        ui.failed({Kind::TemplateNotFound, {}, "looked for " + looked});
        return std::nullopt;
    }
    const auto& path = found == places.end() ? places.front() : *found;
    auto file = openInput(path, {.kind = Kind::TemplateUnreadable}, ui);
    if (file) ui.templateOpened(path);
    return file;
}

// Reads the command-key file, of at most kMaxCmdKeySize bytes.
std::optional<std::string> readCommandKey(const std::u16string& pathText, MakeUi& ui) {
    if (pathText.empty()) {
        ui.failed({.kind = Kind::NoCommandKeyFile});
        return std::nullopt;
    }
    const auto path = pathFromUtf16(pathText);
    auto keyFile = openInput(path, {.kind = Kind::CommandKeyUnreadable}, ui);
    if (!keyFile) return std::nullopt;
    if (keyFile->size() > kMaxCmdKeySize) {
        ui.failed({.kind = Kind::CommandKeyTooLong, .path = path, .size = keyFile->size()});
        return std::nullopt;
    }
    std::string key(static_cast<std::size_t>(keyFile->size()), '\0');
    if (auto read = keyFile->readExactly(key.data(), key.size()); !read) {
        ui.failed({Kind::CommandKeyUnreadable, path, read.error().message});
        return std::nullopt;
    }
    return key;
}

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
        if (ui.confirmOverwrite(*path)) {
            return ChosenOutput{*path, AtomicOutputFile::IfExists::Replace};
        }
    }
}

// Puts the written package in place. A file that another program made under
// the chosen name meanwhile is replaced only when the user agrees now; else
// the make ends as stopped.
Status commitOutput(AtomicOutputFile& file, const ChosenOutput& output, MakeUi& ui) {
    Status committed = file.commit(output.ifExists);
    if (committed || committed.error().kind != ErrorKind::AlreadyExists) return committed;
    if (!ui.confirmOverwrite(output.path)) return fail("not replaced", ErrorKind::Stopped);
    return file.commit(AtomicOutputFile::IfExists::Replace);
}

}  // namespace

PackageBuilder::Options PackageBuilder::systemOptions(std::u16string_view templateName) {
    return {templateSearchPath(templateName),
            [] { return static_cast<int64_t>(std::time(nullptr)); }};
}

PackageBuilder::PackageBuilder(Options o) : options(std::move(o)) {}

PackageTrailer OpenedInputs::trailer(const ProjectSettings& settings, uint32_t seed) const {
    return makePackageTrailer(
        settings, std::span(reinterpret_cast<const uint8_t*>(cmdKey.data()), cmdKey.size()),
        static_cast<uint32_t>(internalImage.size()),
        static_cast<uint32_t>(externalImage ? externalImage->size() : 0), seed);
}

std::optional<OpenedInputs> PackageBuilder::openInputs(const ProjectSettings& settings,
                                                       MakeUi& ui) const {
    if (settings.internalImagePath.empty()) {
        ui.failed({.kind = Kind::NoInternalImage});
        return std::nullopt;
    }

    auto templateFile = openTemplate(options.templatePaths, ui);
    if (!templateFile) return std::nullopt;

    auto internalImage =
        openImage(settings.internalImagePath, ImageKind::Internal, options.convertImages, ui);
    if (!internalImage) return std::nullopt;

    std::optional<FirmwareImage> externalImage;
    if (!settings.externalImagePath.empty()) {
        externalImage =
            openImage(settings.externalImagePath, ImageKind::External, options.convertImages, ui);
        if (!externalImage) return std::nullopt;
    }

    std::string cmdKey;
    if (settings.cmdKeyEnabled) {
        auto key = readCommandKey(settings.cmdKeyPath, ui);
        if (!key) return std::nullopt;
        cmdKey = std::move(*key);
    }
    return OpenedInputs{std::move(*templateFile), std::move(*internalImage),
                        std::move(externalImage), std::move(cmdKey)};
}

MakeOutcome PackageBuilder::make(const ProjectSettings& settings, MakeUi& ui) const {
    auto inputs = openInputs(settings, ui);
    if (!inputs) return MakeOutcome::Failed;

    const auto output = chooseOutput(ui);
    if (!output) return MakeOutcome::Cancelled;

    const PackageTrailer trailer =
        inputs->trailer(settings, static_cast<uint32_t>(options.clock()));

    auto file = AtomicOutputFile::create(output->path, AtomicOutputFile::Mode::Executable);
    if (!file) {
        ui.failed({Kind::OutputUnwritable, output->path, file.error().message});
        return MakeOutcome::Failed;
    }
    const PackageInputs pieces{&inputs->templateFile, &inputs->internalImage,
                               inputs->externalImage ? &*inputs->externalImage : nullptr};
    Status written = writePackage(*file, pieces, trailer, [&ui](uint64_t done, uint64_t total) {
        ui.progress(done, total);
        return !ui.cancelRequested();
    });
    // Windows cannot replace a file that is still open, and the output may
    // name one of the inputs: close them all before the output takes its place.
    inputs.reset();
    if (written) written = file->flush();
    // Flushing a large package to disk takes a while: a stop asked for meanwhile still counts.
    if (written && ui.cancelRequested()) return MakeOutcome::Cancelled;
    if (written) written = commitOutput(*file, *output, ui);
    if (!written && written.error().kind == ErrorKind::Stopped) return MakeOutcome::Cancelled;
    if (!written) {
        ui.failed({Kind::WriteFailed, output->path, written.error().message});
        return MakeOutcome::Failed;
    }
    ui.packageWritten(output->path);
    return MakeOutcome::Written;
}

}  // namespace sf
