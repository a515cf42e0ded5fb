#include "package/PieceStream.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

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
//
// A slot's memory is taken when the reader first fills it, and is not
// zeroed, since a read fills it anyway: pieces shorter than the ring take
// only what they need.
class BlockRing {
  public:
    explicit BlockRing(std::size_t blockSize) : blockSize(blockSize) {}

    // Reading side: an empty block, or none once the writer has stopped.
    std::optional<std::span<uint8_t>> emptyBlock() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return filled < kSlots || stopped; });
        if (stopped) return std::nullopt;
        auto& buffer = buffers[fillAt];
        if (!buffer) buffer = std::make_unique_for_overwrite<uint8_t[]>(blockSize);
        return std::span<uint8_t>(buffer.get(), blockSize);
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
        return std::span<const uint8_t>(buffers[drainAt].get(), sizes[drainAt]);
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
    const std::size_t blockSize;
    std::array<std::unique_ptr<uint8_t[]>, kSlots> buffers;
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

// Streams the pieces on the calling thread through one block of `size` bytes.
Status streamPiecesInTurn(std::span<const Piece> pieces, std::size_t size, const BlockSink& sink) {
    const auto buffer = std::make_unique_for_overwrite<uint8_t[]>(size);
    const EmptyBlockSource take = [&] { return std::span<uint8_t>(buffer.get(), size); };
    for (const Piece& piece : pieces) {
        if (auto streamed = readPiece(piece, take, sink); !streamed) return streamed;
    }
    return success();
}

}  // namespace

Status streamPiece(const PieceReader& read, uint64_t length, const Scrambler* scrambler,
                   const BlockSink& sink) {
    const Piece piece{read, length, scrambler};
    return streamPiecesInTurn(
        {&piece, 1}, static_cast<std::size_t>(std::min<uint64_t>(kBlockSize, length)), sink);
}

Status streamPiecesAhead(std::span<const Piece> pieces, const BlockSink& sink) {
    uint64_t total = 0;
    for (const Piece& piece : pieces) total += piece.length;
    // What fits in one block has no later block to read while it is written:
    // a thread would only cost its start.
    if (total <= kBlockSize) {
        return streamPiecesInTurn(pieces, static_cast<std::size_t>(total), sink);
    }
    BlockRing ring(kBlockSize);
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
