#include "cuboid/picking.h"

#include "cuboid/state.h"
#include "scene/projection.h"

namespace cuboid {

bool pickFacet(const Facet& facet, const PointType* corners) {
    if (!scene::cursorInside(corners, facetCorners, state.pointer.mouseX, state.pointer.mouseY)) return false;
    state.pickedCubie = facet.vertex[0] / 8;
    const int32_t face = cubie::facetFace(facet);
    if (face < 0) return false;
    state.pickedFace = face;
    return true;
}

}  // namespace cuboid
