#include "tools/report/PackageSide.h"

#include <memory>

#include "package/Scrambler.h"
#include "platform/HexDigits.h"
#include "tools/report/Sha256.h"

namespace sf {

namespace {

// Where a part lies in a package file, and whether it is scrambled there.
struct PartPlace {
    uint64_t offset;
    uint64_t length;
    bool scrambled;
};

PartPlace placeOf(const PackageContents& c, PackagePart part) {
    switch (part) {
        case PackagePart::Template:
            return {0, c.templateSize, false};
        case PackagePart::External:
            return {c.external.offset, c.external.length, true};
        case PackagePart::Internal:
            break;
    }
    return {c.internal.offset, c.internal.length, true};
}

}  // namespace

Expected<PackageSide> packageFileSide(const std::filesystem::path& path) {
    auto file = openPackage(path);
    if (!file) return failureOf(file);
    auto contents = readPackage(*file);
    if (!contents) return failureOf(contents);
    struct Open {
        InputFile file;
        Scrambler scrambler;
    };
    const auto open = std::make_shared<Open>(Open{std::move(*file), Scrambler(contents->key)});
    const PackageContents c = *contents;
    return PackageSide{c, [open, c](PackagePart part) -> Expected<Piece> {
                           const PartPlace place = placeOf(c, part);
                           if (auto s = open->file.seek(place.offset); !s) return failureOf(s);
                           return Piece{readerOf(open->file), place.length,
                                        place.scrambled ? &open->scrambler : nullptr};
                       }};
}

Expected<PackageSide> madePackageSide(OpenedInputs& inputs, const ProjectSettings& settings,
                                      uint32_t seed) {
    const PackageTrailer trailer = inputs.trailer(settings, seed);
    const uint64_t externalSize = inputs.externalImage ? inputs.externalImage->size() : 0;
    const uint64_t size =
        inputs.templateFile.size() + externalSize + inputs.internalImage.size() + kTrailerSize;
    auto contents = parsePackageTrailer(trailer.bytes, size);
    if (!contents) return failureOf(contents);
    return PackageSide{
        *contents, [&inputs](PackagePart part) -> Expected<Piece> {
            switch (part) {
                case PackagePart::Template:
                    if (auto s = inputs.templateFile.seek(0); !s) {
                        return failureOf(s);
                    }
                    return Piece{readerOf(inputs.templateFile), inputs.templateFile.size()};
                case PackagePart::External:
                    if (!inputs.externalImage) return Piece{};
                    inputs.externalImage->rewind();
                    return Piece{readerOf(*inputs.externalImage), inputs.externalImage->size()};
                case PackagePart::Internal:
                    break;
            }
            inputs.internalImage.rewind();
            return Piece{readerOf(inputs.internalImage), inputs.internalImage.size()};
        }};
}

Expected<std::string> sha256Of(const Piece& piece) {
    Sha256 sha;
    auto read = streamPiece(piece.read, piece.length, piece.scrambler,
                            [&sha](std::span<const uint8_t> block) {
                                sha.update(block);
                                return success();
                            });
    if (!read) return failureOf(read);
    auto digest = sha.finish();
    if (!digest) return failureOf(digest);
    return hexBytes(*digest, LetterCase::Lower);
}

}  // namespace sf
