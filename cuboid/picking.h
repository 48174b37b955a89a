// Finding the facet under the mouse cursor, done facet by facet while the picture is painted far to near, so the
// last facet taken is the nearest one under the cursor.
#pragma once

#include <cstdint>

#include "cuboid/variant.h"
#include "window/window.h"

namespace cuboid {

// Tests one front-facing facet with its screen corners against the cursor, a cursor on its outline included. When
// the cursor is inside, records the facet's slot in pickedCubie and its face in pickedFace; returns true when a
// face was identified.
bool pickFacet(const Facet& facet, const PointType* corners);

}  // namespace cuboid
