// The pick: the ray under the pointer, tested against every facet, names the nearest facet it meets.
#pragma once

#include <cstdint>

#include "cube3d/config.h"
#include "scene/vec.h"

namespace cube3d {

// Corner point vertex of the puzzle where it lies now.
scene::Vec3 cornerPoint(int32_t vertex);

// A record whose four corners are one point (the records no cubie uses): no plane, so nothing draws or picks it.
bool degenerate(const Facet& f);

// Where the ray meets the facet Q0..Q3 (corners in record order): true with the distance from R0 when it meets the
// facet's plane between R0 and R1 strictly inside all four edges. A point exactly on an edge misses, and so does
// every facet whose corners coincide (no plane).
bool rayMeetsFacet(const scene::Vec3 q[4], scene::Vec3 r0, scene::Vec3 r1, double& distance);

// Resets the pick; when pickActive, casts the ray under the mouse pixel through this frame's camera and picks the
// nearest facet it meets into pickedCubie and pickedFace, marking darkened every facet that was the nearest so far
// when its turn in record order came.
void pickFacets(bool pickActive, int32_t mouseX, int32_t mouseY);

}  // namespace cube3d
