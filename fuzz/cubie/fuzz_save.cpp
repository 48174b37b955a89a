// libFuzzer target for the save-file reader. Whatever the bytes, parsing must not crash; a file it accepts must
// build into a sound puzzle that turns without ever naming a point outside the arrays.
#include <cstdint>
#include <cstdlib>

#include "cube3d/config.h"
#include "cubesolve/model.h"
#include "cubie/cubie.h"
#include "cuboid/configs.h"

namespace {

using namespace cubie;

// Every facet that names corners (colourless ones too) names one face of one cubie inside the cuboid, and every
// used point sits at its home.
template <CubieConfig C>
bool sound(const CubieModel<C>& m) {
    const int32_t n = m.gridSize;
    for (const auto& f : m.facets) {
        if (!namesCorners(f)) continue;
        const int32_t slot = facetSlot(f);
        if (slot < 0 || slot >= n * n * n || facetFace(f) < 0) return false;
        int32_t at[3];
        slotCoordinates(n, slot, at);
        if (at[0] >= m.dims[0] || at[1] >= m.dims[1] || at[2] >= m.dims[2]) return false;
    }
    double home[3];
    for (int32_t i = 0; i < m.dims[0]; ++i)
        for (int32_t j = 0; j < m.dims[1]; ++j)
            for (int32_t k = 0; k < m.dims[2]; ++k)
                for (int32_t q = 0; q < 8; ++q) {
                    homePosition(m, i, j, k, q, home);
                    const double* p = m.worldVertex[slotNumber(n, i, j, k) * 8 + q];
                    for (int32_t a = 0; a < 3; ++a)
                        if (std::abs(p[a] - home[a]) > 1e-6) return false;
                }
    return true;
}

// Turns a few layers chosen the way a player would: a drag from one used facet to the cubie of another.
template <CubieConfig C>
void exercise(const uint8_t* data, size_t size) {
    static SaveImage<C> image;
    static CubieModel<C> model;
    if (!parseSaveFile(reinterpret_cast<const char*>(data), size, image)) return;
    buildFromImage(model, image);
    if (!sound(model)) std::abort();
    model.stepSize = 30;  // fewer frames per turn: the fuzzer wants many inputs, not smooth motion
    int32_t used[4], count = 0;
    for (int32_t r = 0; r < C.recordCount && count < 4; ++r)
        if (model.facets[r].colour != 0) used[count++] = r;
    for (int32_t t = 0; t + 1 < count; ++t) {
        const auto& from = model.facets[used[t]];
        const auto& to = model.facets[used[count - 1 - t]];
        const DragTurn turn = turnFromDrag(facetSlot(from), facetFace(from), facetSlot(to), model.gridSize);
        if (!turn.valid) continue;
        startTurn(model, turn.axis, turn.layer, turn.sense);
        for (int32_t frame = 0; model.turning; ++frame) {
            if (frame > 400) std::abort();  // a turn period must end
            updateTurnTarget(model);
            stepTurn(model);
        }
        if (!sound(model)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    exercise<cuboid::cuboidAConfig>(data, size);
    exercise<cuboid::cuboidCConfig>(data, size);
    exercise<cube3d::cube3dConfig>(data, size);
    exercise<cubesolve::cubeConfig>(data, size);
    return 0;
}
