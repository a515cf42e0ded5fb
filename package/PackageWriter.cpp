#include "package/PackageWriter.h"

#include <algorithm>
#include <vector>

#include "package/PieceStream.h"

namespace sf {

Status writePackage(AtomicOutputFile& out, PackageInputs inputs, const PackageTrailer& trailer,
                    const ProgressFunction& progress) {
    const uint64_t templateSize = inputs.templateFile->size();
    const uint64_t externalSize = inputs.externalImage ? inputs.externalImage->size() : 0;
    const uint64_t total =
        templateSize + externalSize + inputs.internalImage->size() + kTrailerSize;
    uint64_t done = 0;
    // Counts what was written; a stop ends the write like a failure would.
    const auto advance = [&](uint64_t size) -> Status {
        done += size;
        if (!progress || progress(done, total)) return success();
        return fail("the write was stopped", ErrorKind::Stopped);
    };
    const BlockSink write = [&](std::span<const uint8_t> block) {
        if (auto written = out.write(block.data(), block.size()); !written) return written;
        return advance(block.size());
    };

    const auto copyTemplate = [&]() -> Status {
        constexpr uint64_t kStep = 1 << 20;
        for (uint64_t copied = 0; copied < templateSize;) {
            const uint64_t size = std::min(kStep, templateSize - copied);
            if (auto s = out.copyFrom(*inputs.templateFile, size); !s) return s;
            if (auto s = advance(size); !s) return s;
            copied += size;
        }
        return success();
    };
    const Scrambler scrambler(trailer.key);
    std::vector<Piece> images;
    if (inputs.externalImage) {
        images.push_back({readerOf(*inputs.externalImage), externalSize, &scrambler});
    }
    images.push_back({readerOf(*inputs.internalImage), inputs.internalImage->size(), &scrambler});

    Status written = copyTemplate();
    if (written) written = streamPiecesAhead(images, write);
    if (written) written = write(trailer.bytes);
    return written;
}

}  // namespace sf
