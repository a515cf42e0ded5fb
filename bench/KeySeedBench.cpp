// Finding the seed a package's key was drawn from, as inspect does for every package.
#include <benchmark/benchmark.h>

#include "package/KeySeed.h"

namespace {

sf::KeySlots drawSlots(sf::PackageKey& key) {
    sf::CrtRandom random(1700000000);
    key = sf::makePackageKey(random);
    return sf::hidePackageKey(key, random);
}

void findSeed(benchmark::State& state) {
    sf::PackageKey key;
    const sf::KeySlots slots = drawSlots(key);
    for (auto _ : state) benchmark::DoNotOptimize(sf::findKeySeed(key, slots));
}

// A package whose decoy no seed draws: every candidate is looked at and fails.
void findNoSeed(benchmark::State& state) {
    sf::PackageKey key;
    sf::KeySlots slots = drawSlots(key);
    (sf::unmaskKeySlot(slots.slot0) == key ? slots.slot1 : slots.slot0)[3] ^= 1;
    for (auto _ : state) benchmark::DoNotOptimize(sf::findKeySeed(key, slots));
}

}  // namespace

BENCHMARK(findSeed)->Unit(benchmark::kMicrosecond);
BENCHMARK(findNoSeed)->Unit(benchmark::kMicrosecond);
