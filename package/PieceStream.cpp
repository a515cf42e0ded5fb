#include "package/PieceStream.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace sf {
namespace {

constexpr std::size_t kBlockSize = 1 << 20;

// Gives the next empty block to fill, or none to stop.
using EmptyBlockSource = std::function<std::optional<std::span<uint8_t>>()>;

// Reads a piece into the blocks that `take` gives, scrambling each, and hands
// each filled block to `pass`.
Status readPiece(const Piece& piece, const EmptyBlockSource& take, const BlockSink& pass) {
    for (uint64_t position = 0; position < piece.length;) {
        const auto empty = take();
        if (!empty) return success();
        const auto size =
            static_cast<std::size_t>(std::min<uint64_t>(empty->size(), piece.length - position));
        const auto block = empty->first(size);
        if (auto got = piece.read(block); !got) return got;
        if (piece.scrambler) piece.scrambler->apply(block, position);
        if (auto passed = pass(block); !passed) return passed;
        position += size;
    }
    return success();
}

// The blocks handed from the reading thread to the writing one. The filled
// blocks are the `filled` slots from `drainAt` on, in order; they belong to
// the writer, the other slots to the reader, which fills the one after the
// last filled. A slot changes hands only under the lock.
class BlockRing {
  public:
    explicit BlockRing(std::size_t blockSize) {
        for (auto& buffer : buffers) buffer.resize(blockSize);
    }

    // Reading side: an empty block, or none once the writer has stopped.
    std::optional<std::span<uint8_t>> emptyBlock() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return filled < kSlots || stopped; });
        if (stopped) return std::nullopt;
        return std::span<uint8_t>(buffers[fillAt]);
    }

    // Reading side: the block from emptyBlock() now holds `size` bytes.
    void hand(std::size_t size) {
        {
            std::lock_guard lock(mutex);
            sizes[fillAt] = size;
            fillAt = (fillAt + 1) % kSlots;
            ++filled;
        }
        changed.notify_all();
    }

    // Reading side: no more blocks come, all being read or the reading failed.
    void finish(Status outcome, std::exception_ptr thrown = nullptr) {
        {
            std::lock_guard lock(mutex);
            readOutcome = std::move(outcome);
            readThrew = std::move(thrown);
            finished = true;
        }
        changed.notify_all();
    }

    // Writing side: the oldest filled block, or none when no more come (all
    // were read, or the reading failed: see outcome()).
    std::optional<std::span<const uint8_t>> filledBlock() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return filled > 0 || finished; });
        if (filled == 0 || !readOutcome || readThrew) return std::nullopt;
        return std::span<const uint8_t>(buffers[drainAt].data(), sizes[drainAt]);
    }

    // Writing side: the block from filledBlock() is done with.
    void release() {
        {
            std::lock_guard lock(mutex);
            drainAt = (drainAt + 1) % kSlots;
            --filled;
        }
        changed.notify_all();
    }

    // Writing side: no more blocks are wanted.
    void stop() {
        {
            std::lock_guard lock(mutex);
            stopped = true;
        }
        changed.notify_all();
    }

    // Writing side, once no more blocks come: how the reading ended.
    Status outcome() {
        std::lock_guard lock(mutex);
        if (readThrew) std::rethrow_exception(readThrew);
        return readOutcome;
    }

  private:
    static constexpr std::size_t kSlots = 4;
    std::array<std::vector<uint8_t>, kSlots> buffers;
    std::array<std::size_t, kSlots> sizes{};
    std::size_t fillAt = 0;   // the reader's next slot
    std::size_t drainAt = 0;  // the writer's next slot
    std::size_t filled = 0;
    bool finished = false;
    bool stopped = false;
    Status readOutcome = success();
    std::exception_ptr readThrew;
    std::mutex mutex;
    std::condition_variable changed;
};

// Reads every piece into the ring, until all are read, one fails, or the writer stops.
void readAll(std::span<const Piece> pieces, BlockRing& ring) {
    try {
        const EmptyBlockSource take = [&ring] { return ring.emptyBlock(); };
        const BlockSink pass = [&ring](std::span<const uint8_t> block) {
            ring.hand(block.size());
            return success();
        };
        for (const Piece& piece : pieces) {
            if (auto read = readPiece(piece, take, pass); !read) return ring.finish(read);
        }
        ring.finish(success());
    } catch (...) {
        ring.finish(success(), std::current_exception());
    }
}

}  // namespace

Status streamPiece(const PieceReader& read, uint64_t length, const Scrambler* scrambler,
                   const BlockSink& sink) {
    std::vector<uint8_t> buffer(static_cast<std::size_t>(std::min<uint64_t>(kBlockSize, length)));
    return readPiece(
        {read, length, scrambler}, [&buffer] { return std::span<uint8_t>(buffer); }, sink);
}

Status streamPiecesAhead(std::span<const Piece> pieces, const BlockSink& sink) {
    uint64_t total = 0;
    for (const Piece& piece : pieces) total += piece.length;
    BlockRing ring(static_cast<std::size_t>(std::min<uint64_t>(kBlockSize, total)));
    std::thread reader(readAll, pieces, std::ref(ring));
    // However this ends, the reader stops and is waited for.
    struct Joined {
        BlockRing& ring;
        std::thread& reader;
        ~Joined() {
            ring.stop();
            reader.join();
        }
    } joined{ring, reader};
    while (const auto block = ring.filledBlock()) {
        if (auto passed = sink(*block); !passed) return passed;
        ring.release();
    }
    return ring.outcome();
}

}  // namespace sf
