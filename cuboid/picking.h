// Finding the facet under the mouse cursor, done facet by facet while the picture is painted far to near, so the
// last facet taken is the nearest one under the cursor.
#pragma once

#include <cstdint>

#include "cuboid/variant.h"
#include "window/window.h"

namespace cuboid {

// True when (x, y) lies inside the polygon of screen corners, which are in the order a front-facing facet has on
// screen, or on its outline. A point on an edge counts as inside: the two triangles of a cuboid-c face share an
// edge across the sticker, and a strict test would take neither of them there. Where neighbouring facets share
// an edge, the one painted later (the nearer) is the one picked, as it is the one painted there.
bool cursorInside(const PointType* corners, int32_t count, int32_t x, int32_t y);

// Whether this frame picks at all: only while no turn runs and the left button alone is down now or was down in
// the previous frame (the press and the release of a drag).
bool pickAllowed();

// Tests one front-facing facet with its screen corners against the cursor. When the cursor is inside, records the
// facet's slot in pickedCubie and its face in pickedFace; returns true when a face was identified.
bool pickFacet(const Facet& facet, const PointType* corners);

}  // namespace cuboid
