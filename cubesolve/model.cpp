#include "cubesolve/model.h"

#include <cmath>

namespace cubesolve {

void buildCube(Model& m, int32_t n) {
    m.loadRequested = false;
    m.gridSize = n;
    for (int32_t& d : m.dims) d = n;
    cubie::buildPuzzle(m);
}

int32_t slotSticker(const Model& m, int32_t i, int32_t j, int32_t k, int32_t axis) {
    if (axis < 0 || axis > 2) return -1;  // no record's plane lies across another axis
    int32_t home[8][3];
    for (int32_t q = 0; q < 8; ++q) {
        double p[3];
        cubie::homePosition(m, i, j, k, q, p);
        for (int32_t a = 0; a < 3; ++a) home[q][a] = static_cast<int32_t>(std::lround(p[a]));
    }
    // The match taken is the last one with the corners as the outer loop and the records inner: the highest
    // corner any record touches, and the last record touching it. All matches belong to one sticker anyway.
    int32_t result = -1, bestCorner = -1;
    for (const Facet& f : m.facets) {
        if (f.colour == innerColour) continue;
        if (f.vertex[0] == f.vertex[1] && f.vertex[1] == f.vertex[2]) continue;  // no cubie uses it
        // A match lies in a plane across the axis through one of the slot's corners, so its first point's
        // coordinate on the axis must be one of the slot's two: most records are passed over on that alone.
        const int32_t level = static_cast<int32_t>(std::lround(m.worldVertex[f.vertex[0]][axis]));
        if (level != home[0][axis] && level != home[7][axis]) continue;
        int32_t p[3][3];
        for (int32_t c = 0; c < 3; ++c)
            for (int32_t a = 0; a < 3; ++a) p[c][a] = static_cast<int32_t>(std::lround(m.worldVertex[f.vertex[c]][a]));
        int32_t plane = -1;
        for (int32_t a = 2; a >= 0; --a)
            if (p[0][a] == p[1][a] && p[1][a] == p[2][a]) plane = a;
        if (plane != axis) continue;
        for (int32_t q = 7; q >= 0 && q >= bestCorner; --q) {
            bool touches = false;
            for (int32_t c = 0; c < 3; ++c)
                touches = touches || (p[c][0] == home[q][0] && p[c][1] == home[q][1] && p[c][2] == home[q][2]);
            if (touches) {
                bestCorner = q;
                result = f.colour;
                break;
            }
        }
    }
    return result;
}

}  // namespace cubesolve
