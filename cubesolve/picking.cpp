#include "cubesolve/picking.h"

#include "scene/projection.h"

namespace cubesolve {

// A cursor on an edge counts as inside: in the start view the edge two triangles share runs through the middle
// of every up sticker, and with a strict test the pick there would fall through to a hidden face or to nothing.
void pickTriangle(const Facet& f, const CellPoint corners[3]) {
    if (!scene::cursorInside(corners, 3, state.pointer.mouseX, state.pointer.mouseY)) return;
    state.pickedCubie = f.vertex[0] / 8;
    state.pickedFace = cubie::facetFace(f);
}

}  // namespace cubesolve
