#include "package/PackageWriter.h"

#include <algorithm>
#include <vector>

#include "package/Scrambler.h"

namespace sf {
namespace {

constexpr std::size_t kBlockSize = 1 << 20;

class Copier {
  public:
    Copier(AtomicOutputFile& out, uint64_t total, const ProgressFunction& progress)
        : out(out), total(total), progress(progress), buffer(kBlockSize) {}

    // Copies the whole of `in`, scrambling it when a scrambler is given.
    Status copy(InputFile& in, const Scrambler* scrambler) {
        for (uint64_t position = 0; position < in.size();) {
            const auto size =
                static_cast<std::size_t>(std::min<uint64_t>(kBlockSize, in.size() - position));
            std::span<uint8_t> block(buffer.data(), size);
            if (auto read = in.readExactly(block.data(), size); !read) return read;
            if (scrambler) scrambler->apply(block, position);
            if (auto written = write(block); !written) return written;
            position += size;
        }
        return success();
    }

    Status write(std::span<const uint8_t> bytes) {
        if (auto written = out.write(bytes.data(), bytes.size()); !written) return written;
        done += bytes.size();
        if (progress) progress(done, total);
        return success();
    }

  private:
    AtomicOutputFile& out;
    uint64_t total;
    const ProgressFunction& progress;
    std::vector<uint8_t> buffer;
    uint64_t done = 0;
};

}  // namespace

Status writePackage(AtomicOutputFile& out, PackageInputs inputs, const PackageTrailer& trailer,
                    const ProgressFunction& progress) {
    const uint64_t externalSize = inputs.externalImage ? inputs.externalImage->size() : 0;
    const uint64_t total =
        inputs.templateFile->size() + externalSize + inputs.internalImage->size() + kTrailerSize;
    const Scrambler scrambler(trailer.key);
    Copier copier(out, total, progress);

    if (auto s = copier.copy(*inputs.templateFile, nullptr); !s) return s;
    if (inputs.externalImage) {
        if (auto s = copier.copy(*inputs.externalImage, &scrambler); !s) return s;
    }
    if (auto s = copier.copy(*inputs.internalImage, &scrambler); !s) return s;
    return copier.write(trailer.bytes);
}

}  // namespace sf
