// Re-filing at the end of a turn on cube3d's largest puzzle: a 10-cube whose middle layer about y has turned a
// quarter but is not yet re-filed, and a whole quarter turn (90 steps and the re-filing). A frame at 120 frames a
// second has 8.3 ms.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "cube3d/config.h"

namespace {

using cube3d::Model;

std::unique_ptr<Model> builtCube() {
    auto m = std::make_unique<Model>();
    cubie::buildPuzzle(*m);
    return m;
}

// The turn's last step without its re-filing: what settleTurn meets.
std::unique_ptr<Model> turnedNotSettled() {
    auto m = builtCube();
    cubie::startTurn(*m, 1, 5, 1);
    for (int32_t step = 0; step < 89; ++step) cubie::stepTurn(*m);
    m->turnAngle = 0;  // so that the 90th degree turns the points but does not end the turn
    cubie::stepTurn(*m);
    m->turning = false;
    return m;
}

void BM_SettleTurnLargestCube(benchmark::State& state) {
    const auto start = turnedNotSettled();
    auto m = std::make_unique<Model>();
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(static_cast<void*>(m.get()), start.get(), sizeof *m);
        state.ResumeTiming();
        cubie::settleTurn(*m);
        benchmark::DoNotOptimize(m->facets);
    }
}
BENCHMARK(BM_SettleTurnLargestCube)->Unit(benchmark::kMicrosecond);

void BM_WholeQuarterTurnLargestCube(benchmark::State& state) {
    auto m = builtCube();
    for (auto _ : state) {
        cubie::startTurn(*m, 2, 3, 1);
        while (m->turning) {
            cubie::updateTurnTarget(*m);
            cubie::stepTurn(*m);
        }
        benchmark::DoNotOptimize(m->facets);
    }
}
BENCHMARK(BM_WholeQuarterTurnLargestCube)->Unit(benchmark::kMicrosecond);

}  // namespace
