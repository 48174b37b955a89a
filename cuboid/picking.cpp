#include "cuboid/picking.h"

#include "cuboid/state.h"

namespace cuboid {

bool cursorInside(const PointType* corners, int32_t count, int32_t x, int32_t y) {
    for (int32_t m = 0; m < count; ++m) {
        const PointType& a = corners[m];
        const PointType& b = corners[(m + 1) % count];
        const int64_t side = int64_t{x - a.x} * (b.y - a.y) - int64_t{y - a.y} * (b.x - a.x);
        if (side > 0) return false;
    }
    return true;
}

bool pickAllowed() { return cubie::pickAllowed(state.puzzle.turning, state.buttons, state.previousButtons); }

bool pickFacet(const Facet& facet, const PointType* corners) {
    if (!cursorInside(corners, facetCorners, state.mouseX, state.mouseY)) return false;
    state.pickedCubie = facet.vertex[0] / 8;
    const int32_t face = cubie::facetFace(facet);
    if (face < 0) return false;
    state.pickedFace = face;
    return true;
}

}  // namespace cuboid
