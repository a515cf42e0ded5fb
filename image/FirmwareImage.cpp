#include "image/FirmwareImage.h"

#include <algorithm>
#include <cstring>

#include "image/ElfReader.h"
#include "image/RecordFileReader.h"
#include "platform/Utf.h"

namespace sf {

Expected<FirmwareImage> FirmwareImage::open(const std::filesystem::path& path,
                                            const Options& options) {
    auto file = InputFile::open(path);
    if (!file) return fail("cannot open " + quotedPath(path) + ": " + file.error().message);
    return read(fileSource(std::move(*file)), pathToUtf8(path), options);
}

Expected<FirmwareImage> FirmwareImage::read(std::unique_ptr<ImageSource> source,
                                            const std::string& name, const Options& options) {
    if (options.detectFormat) {
        auto elf = readElf(*source, name, options.maxSize);
        if (elf) return FirmwareImage(ImageFormat::Elf, std::move(*elf), std::move(source));
        if (elf.error().kind != ErrorKind::NotThisFormat) return failureOf(elf);

        auto text = readRecordFile(*source, name, options.maxSize);
        if (text) {
            return FirmwareImage(text->format, std::move(text->pieces),
                                 memorySource(std::move(text->bytes)));
        }
        if (text.error().kind != ErrorKind::NotThisFormat) return failureOf(text);
    }
    const uint64_t size = source->size();
    std::vector<ImagePiece> whole;
    if (size > 0) whole.push_back({0, size, 0});
    return FirmwareImage(ImageFormat::Raw, std::move(whole), std::move(source));
}

FirmwareImage::FirmwareImage(ImageFormat format, std::vector<ImagePiece> p,
                             std::unique_ptr<ImageSource> s)
    : imageFormat(format), pieces(std::move(p)), source(std::move(s)) {}

uint64_t FirmwareImage::size() const {
    return pieces.empty() ? 0 : pieces.back().end() - pieces.front().address;
}

std::string FirmwareImage::summary() const {
    std::string text(formatName(imageFormat));
    if (imageFormat != ImageFormat::Raw && size() > 0) {
        text += ", " + addressRange(startAddress(), startAddress() + size());
    }
    return text + ", " + std::to_string(size()) + " bytes";
}

Status FirmwareImage::readExactly(void* buffer, std::size_t size) {
    if (size > this->size() - position) return fail("a read past the end of the image");
    auto* out = static_cast<uint8_t*>(buffer);
    while (size > 0) {
        const uint64_t address = startAddress() + position;
        while (pieces[nextPiece].end() <= address) ++nextPiece;
        const ImagePiece& piece = pieces[nextPiece];
        std::size_t count;
        if (address < piece.address) {
            count = static_cast<std::size_t>(std::min<uint64_t>(size, piece.address - address));
            std::memset(out, 0xFF, count);
        } else {
            count = static_cast<std::size_t>(std::min<uint64_t>(size, piece.end() - address));
            auto read = source->readAt(piece.offset + (address - piece.address), {out, count});
            if (!read) return read;
        }
        out += count;
        size -= count;
        position += count;
    }
    return success();
}

}  // namespace sf
