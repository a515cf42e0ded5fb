// Scrambling throughput against a plain memory copy of the same block.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "package/Scrambler.h"

namespace {

constexpr std::size_t kBlock = 1 << 20;

void scramble(benchmark::State& state) {
    std::vector<uint8_t> block(kBlock, 0x5A);
    const sf::Scrambler scrambler({0x11, 0x22, 0x33, 0x44});
    uint64_t position = 0;
    for (auto _ : state) {
        scrambler.apply(block, position);
        position += kBlock;
        benchmark::DoNotOptimize(block.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBlock));
}

void scrambleUnaligned(benchmark::State& state) {
    std::vector<uint8_t> block(kBlock + 3, 0x5A);
    const sf::Scrambler scrambler({0x11, 0x22, 0x33, 0x44});
    for (auto _ : state) {
        scrambler.apply(std::span(block).subspan(3), 3);
        benchmark::DoNotOptimize(block.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBlock));
}

void copy(benchmark::State& state) {
    std::vector<uint8_t> from(kBlock, 0x5A);
    std::vector<uint8_t> to(kBlock);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kBlock);
        benchmark::DoNotOptimize(to.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBlock));
}

}  // namespace

BENCHMARK(scramble);
BENCHMARK(scrambleUnaligned);
BENCHMARK(copy);
