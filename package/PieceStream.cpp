#include "package/PieceStream.h"

#include <algorithm>
#include <vector>

namespace sf {

Status streamPiece(const PieceReader& read, uint64_t length, const Scrambler* scrambler,
                   const BlockSink& sink) {
    constexpr std::size_t kBlockSize = 1 << 20;
    std::vector<uint8_t> buffer(static_cast<std::size_t>(std::min<uint64_t>(kBlockSize, length)));
    for (uint64_t position = 0; position < length;) {
        const auto size =
            static_cast<std::size_t>(std::min<uint64_t>(kBlockSize, length - position));
        std::span<uint8_t> block(buffer.data(), size);
        if (auto got = read(block); !got) return got;
        if (scrambler) scrambler->apply(block, position);
        if (auto passed = sink(block); !passed) return passed;
        position += size;
    }
    return success();
}

}  // namespace sf
