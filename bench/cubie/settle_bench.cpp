// Cost of re-filing at the end of a turn (settleTurn) for each variant at N = 6, against the point-by-point rule,
// and of a whole quarter turn. A frame at 60 frames a second has 16.7 ms.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "cube3d/config.h"
#include "cubie/cubie.h"
#include "cubie/settle_plain.h"
#include "cuboid/configs.h"

namespace {

using namespace cubie;
using cuboid::cuboidAConfig;
using cuboid::cuboidBConfig;
using cuboid::cuboidCConfig;
// The largest grid: cube3d's, up to 10 x 10 x 10.
constexpr CubieConfig largeGridConfig = cube3d::cube3dConfig;

// An n-cube whose middle layer about y has turned a quarter but is not yet re-filed: the state settleTurn meets.
template <CubieConfig C>
std::unique_ptr<CubieModel<C>> turnedNotSettled(int32_t n = 6) {
    auto m = std::make_unique<CubieModel<C>>();
    m->gridSize = n;
    m->dims[0] = m->dims[1] = m->dims[2] = n;
    buildPuzzle(*m);
    startTurn(*m, 1, n / 2, 1);
    m->stepSize = 5;
    m->turnStep = 5;
    while (std::abs(m->turnAngle) + 5 < 90) stepTurn(*m);
    m->turnAngle = 0;  // the last step, without its settle
    stepTurn(*m);
    m->turning = false;
    return m;
}

// Times `settle` on a fresh copy of the same turned-but-unsettled puzzle each iteration.
template <CubieConfig C, typename Settle>
void timeSettling(benchmark::State& state, const CubieModel<C>& start, Settle settle) {
    auto m = std::make_unique<CubieModel<C>>();
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(static_cast<void*>(m.get()), &start, sizeof *m);
        state.ResumeTiming();
        settle(*m);
        benchmark::DoNotOptimize(m->facets);
    }
}

template <CubieConfig C>
void BM_SettleTurn(benchmark::State& state) {
    timeSettling<C>(state, *turnedNotSettled<C>(), [](CubieModel<C>& m) { settleTurn(m); });
}

// cube3d's largest puzzle, where the pause at the end of a turn is longest.
void BM_SettleCube3dLargest(benchmark::State& state) {
    timeSettling<largeGridConfig>(state, *turnedNotSettled<largeGridConfig>(10),
                                  [](CubieModel<largeGridConfig>& m) { settleTurn(m); });
}

template <CubieConfig C>
void BM_SettlePointByPoint(benchmark::State& state) {
    timeSettling<C>(state, *turnedNotSettled<C>(), [](CubieModel<C>& m) { settleTurnPlain(m); });
}

// A whole quarter turn of a 6-cube layer: every step's rotation and the settle at the end.
template <CubieConfig C>
void BM_WholeQuarterTurn(benchmark::State& state) {
    auto m = std::make_unique<CubieModel<C>>();
    m->gridSize = 6;
    m->dims[0] = m->dims[1] = m->dims[2] = 6;
    buildPuzzle(*m);
    for (auto _ : state) {
        startTurn(*m, 2, 3, 1);
        while (m->turning) {
            updateTurnTarget(*m);
            stepTurn(*m);
        }
        benchmark::DoNotOptimize(m->facets);
    }
}

}  // namespace

BENCHMARK(BM_SettleTurn<cuboidAConfig>)->Name("settleTurn/cuboid-a/N6")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SettleTurn<cuboidBConfig>)->Name("settleTurn/cuboid-b/N6")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SettleTurn<cuboidCConfig>)->Name("settleTurn/cuboid-c/N6")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SettleTurn<largeGridConfig>)->Name("settleTurn/cube3d/N6")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SettleCube3dLargest)->Name("settleTurn/cube3d/N10")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SettlePointByPoint<cuboidAConfig>)->Name("pointByPoint/cuboid-a/N6")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SettlePointByPoint<cuboidBConfig>)->Name("pointByPoint/cuboid-b/N6")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SettlePointByPoint<cuboidCConfig>)->Name("pointByPoint/cuboid-c/N6")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeQuarterTurn<cuboidAConfig>)->Name("quarterTurn/cuboid-a/N6")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WholeQuarterTurn<cuboidCConfig>)->Name("quarterTurn/cuboid-c/N6")->Unit(benchmark::kMicrosecond);
