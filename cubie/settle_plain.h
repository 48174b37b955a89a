// settleTurn (model.h) the plain way, point by point, as the model's rules state it: for every home position,
// search all points for the last one that rounds to it, swap the two points and swap the two indices in every
// facet record. settleTurn finds every point's home at once and applies the whole permutation in one pass, which
// must give the very same model; this is what that way is checked against, and what the benchmark weighs it by.
#pragma once

#include <cmath>
#include <utility>

#include "cubie/model.h"

namespace cubie {

template <CubieConfig C>
void settleTurnPlain(CubieModel<C>& m) {
    const int32_t n = m.gridSize;
    for (int32_t k = 0; k < n; ++k)
        for (int32_t j = 0; j < n; ++j)
            for (int32_t i = 0; i < n; ++i) {
                if (C.restrictedRefile && m.turnLayer != i && m.turnLayer != j && m.turnLayer != k) continue;
                for (int32_t q = 0; q < 8; ++q) {
                    const int32_t s = slotNumber(n, i, j, k) * 8 + q;
                    // The plain rule's home: (N - dims) * cell / 2 - span / 2 + ...
                    double h[3];
                    const int32_t index[3] = {i, j, k};
                    for (int32_t a = 0; a < 3; ++a) {
                        const int32_t bit = (q >> a) & 1;
                        h[a] = (n - m.dims[a]) * m.cellSize[a] / 2 - C.span / 2 + (index[a] + bit) * m.cellSize[a] +
                               (1 - 2 * bit) * C.inset;
                    }
                    int32_t b = -1;
                    for (int32_t v = 0; v < CubieModel<C>::vertexCount; ++v)
                        if (std::lround(m.worldVertex[v][0]) == h[0] && std::lround(m.worldVertex[v][1]) == h[1] &&
                            std::lround(m.worldVertex[v][2]) == h[2])
                            b = v;
                    if (b < 0) continue;
                    for (int32_t a = 0; a < 3; ++a) std::swap(m.worldVertex[s][a], m.worldVertex[b][a]);
                    for (auto& f : m.facets)
                        for (int32_t c = 0; c < f.corners; ++c) {
                            if (f.vertex[c] == s) f.vertex[c] = b;
                            else if (f.vertex[c] == b) f.vertex[c] = s;
                        }
                }
            }
}

}  // namespace cubie
