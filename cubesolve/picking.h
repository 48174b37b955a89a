// Finding the triangle under the mouse cursor, done triangle by triangle while the picture is filled far to near,
// so the last triangle taken is the nearest one under the cursor.
#pragma once

#include "cubesolve/state.h"

namespace cubesolve {

// Tests one front-facing triangle with its three raster corners against the cursor, a cursor on its outline
// included. When the cursor is inside, records the triangle's slot in pickedCubie and its face in pickedFace.
void pickTriangle(const Facet& f, const CellPoint corners[3]);

}  // namespace cubesolve
