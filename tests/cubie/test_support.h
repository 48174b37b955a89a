// Helpers shared by the cubie model's tests, and the configurations they run the model with.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "cube3d/config.h"
#include "cubesolve/model.h"
#include "cubie/cubie.h"
#include "cuboid/configs.h"

namespace cubie_test {

using namespace cubie;
using cuboid::cuboidAConfig;
using cuboid::cuboidBConfig;
using cuboid::cuboidCConfig;

// The model runs with every cube program's own configuration; two go by what they bring to these tests.
// The largest grid the model must carry: cube3d's up to 10 x 10 x 10 quads, inset 1, one degree per frame,
// re-filing only the slots that share a coordinate with the turned layer.
inline constexpr CubieConfig largeGridConfig = cube3d::cube3dConfig;
// A cube of half the span, -60 to +60 with cellSize = 120 div N, N up to 5 in triangles: cubesolve's.
inline constexpr CubieConfig halfSpanConfig = cubesolve::cubeConfig;

template <CubieConfig C>
using Model = CubieModel<C>;

// A freshly built model of the given shape, on the heap (the models are too large for the stack).
template <CubieConfig C>
std::unique_ptr<Model<C>> built(int32_t n, int32_t dx, int32_t dy, int32_t dz) {
    auto m = std::make_unique<Model<C>>();
    seedRandom(*m, 12345);
    m->gridSize = n;
    m->dims[0] = dx, m->dims[1] = dy, m->dims[2] = dz;
    EXPECT_TRUE(buildPuzzle(*m));
    return m;
}

// Runs a frame loop's worth of steps until the running turn ends; returns the number of frames it took.
template <CubieConfig C>
int32_t runTurn(Model<C>& m) {
    int32_t frames = 0;
    while (m.turning && frames < 1000) {
        updateTurnTarget(m);
        stepTurn(m);
        ++frames;
    }
    return frames;
}

template <CubieConfig C>
void turnAndFinish(Model<C>& m, int32_t axis, int32_t layer, int32_t sense) {
    startTurn(m, axis, layer, sense);
    runTurn(m);
}

// Mean of a facet's corner points.
template <CubieConfig C>
void facetCentre(const Model<C>& m, const typename Model<C>::Facet& f, double out[3]) {
    for (int32_t a = 0; a < 3; ++a) {
        out[a] = 0;
        for (int32_t c = 0; c < f.corners; ++c) out[a] += m.worldVertex[f.vertex[c]][a] / f.corners;
    }
}

// A byte-for-byte copy of the puzzle's state, padding included, for comparing with sameBytes.
template <CubieConfig C>
std::unique_ptr<Model<C>> snapshot(const Model<C>& m) {
    auto copy = std::make_unique<Model<C>>();
    std::memcpy(static_cast<void*>(copy.get()), &m, stateBytes<C>);
    return copy;
}

template <CubieConfig C>
bool sameBytes(const Model<C>& a, const Model<C>& b) {
    return std::memcmp(&a, &b, stateBytes<C>) == 0;
}

inline bool slotInside(const int32_t dims[3], int32_t n, int32_t slot) {
    int32_t at[3];
    slotCoordinates(n, slot, at);
    return slot >= 0 && slot < n * n * n && at[0] < dims[0] && at[1] < dims[1] && at[2] < dims[2];
}

}  // namespace cubie_test
