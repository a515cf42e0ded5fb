#include "package/PackageWriter.h"

#include "package/PieceStream.h"

namespace sf {

Status writePackage(AtomicOutputFile& out, PackageInputs inputs, const PackageTrailer& trailer,
                    const ProgressFunction& progress) {
    const uint64_t externalSize = inputs.externalImage ? inputs.externalImage->size() : 0;
    const uint64_t total =
        inputs.templateFile->size() + externalSize + inputs.internalImage->size() + kTrailerSize;
    const Scrambler scrambler(trailer.key);
    uint64_t done = 0;
    const BlockSink write = [&](std::span<const uint8_t> block) {
        if (auto written = out.write(block.data(), block.size()); !written) return written;
        done += block.size();
        if (progress) progress(done, total);
        return success();
    };
    auto copy = [&write](auto& in, const Scrambler* s) {
        return streamPiece(readerOf(in), in.size(), s, write);
    };

    if (auto s = copy(*inputs.templateFile, nullptr); !s) return s;
    if (inputs.externalImage) {
        if (auto s = copy(*inputs.externalImage, &scrambler); !s) return s;
    }
    if (auto s = copy(*inputs.internalImage, &scrambler); !s) return s;
    return write(trailer.bytes);
}

}  // namespace sf
