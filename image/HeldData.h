#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <vector>

#include "image/ImagePiece.h"
#include "platform/Expected.h"

namespace sf {

// Collects the data records of a text image in memory, as runs of bytes:
// a record that continues the one before it extends that run. Gaps cost
// nothing. Refuses data that overlaps data already taken, and data that would
// make the image span more than its largest size.
class HeldData {
  public:
    // `expectedBytes` is room reserved for the bytes up front.
    HeldData(uint64_t maxSize, std::size_t expectedBytes);

    // Takes the bytes of the record on `line`, or tells why not (without the line).
    Status add(uint64_t line, uint64_t address, std::span<const uint8_t> data);

    bool empty() const { return runs.empty(); }

    // The runs in address order; their offsets count into bytes().
    std::vector<ImagePiece> pieces() const;
    std::vector<uint8_t>& bytes() { return held; }

  private:
    struct Run {
        uint64_t end;
        uint64_t offset;
        uint64_t firstLine;
        uint64_t lastLine;
    };
    using Runs = std::map<uint64_t, Run>;

    static Unexpected overlap(uint64_t address, uint64_t end, const Run& run);

    uint64_t maxSize;
    std::vector<uint8_t> held;
    Runs runs;
    Runs::iterator latest;  // the run the last record went into: its bytes end `held`
    uint64_t low = 0;
    uint64_t high = 0;
};

}  // namespace sf
