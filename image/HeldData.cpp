#include "image/HeldData.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace sf {

HeldData::HeldData(uint64_t max, std::size_t expectedBytes) : maxSize(max) {
    held.reserve(expectedBytes);
}

Unexpected HeldData::overlap(uint64_t address, uint64_t end, const Run& run) {
    const std::string lines =
        run.firstLine == run.lastLine
            ? "line " + std::to_string(run.firstLine)
            : "lines " + std::to_string(run.firstLine) + " to " + std::to_string(run.lastLine);
    return fail("the data at " + addressRange(address, end) + " overlaps data given on " + lines);
}

Status HeldData::add(uint64_t line, uint64_t address, std::span<const uint8_t> data) {
    if (data.empty()) return success();
    const uint64_t end = address + data.size();
    const uint64_t newLow = runs.empty() ? address : std::min(low, address);
    const uint64_t newHigh = runs.empty() ? end : std::max(high, end);
    if (auto problem = spanProblem(newLow, newHigh, maxSize)) return fail(*problem);

    if (!runs.empty() && latest->second.end == address) {
        // The usual case: the record continues the one before it.
        if (const auto next = std::next(latest); next != runs.end() && next->first < end) {
            return overlap(address, end, next->second);
        }
        latest->second.end = end;
        latest->second.lastLine = line;
    } else {
        const auto after = runs.upper_bound(address);
        if (after != runs.begin() && std::prev(after)->second.end > address) {
            return overlap(address, end, std::prev(after)->second);
        }
        if (after != runs.end() && after->first < end) return overlap(address, end, after->second);
        latest = runs.emplace_hint(after, address, Run{end, held.size(), line, line});
    }
    held.insert(held.end(), data.begin(), data.end());
    low = newLow;
    high = newHigh;
    return success();
}

std::vector<ImagePiece> HeldData::pieces() const {
    std::vector<ImagePiece> result;
    result.reserve(runs.size());
    for (const auto& [address, run] : runs) {
        result.push_back({address, run.end - address, run.offset});
    }
    return result;
}

}  // namespace sf
