// The picture: every corner point turned by the three view angles and projected in perspective, the facet array
// sorted far to near, and every front-facing facet painted over those behind it with the layer's filled polygons.
#pragma once

#include <cstdint>

#include "cuboid/variant.h"
#include "window/window.h"

namespace cuboid {

// Distance of the eye from the origin, in world units; the cube spans -120 to +120.
inline constexpr double eyeDistance = 480.0;

// Sets the view angles to their start values (every build does).
void resetView();

// Fills screenVertex from the puzzle's corner points and the view angles.
void projectVertices();

// Sum of the projected depths of a facet's corners: a larger sum is nearer the viewer.
int32_t depthSum(const Facet& facet);

// Reorders the facet array far to near by mean corner depth, in the exchange sort's order exactly
// (cubie::sortByDepth). Records no cubie uses take part too.
void sortFacets();

// The screen corners of a facet, in its polygon order.
void facetScreenCorners(const Facet& facet, PointType* corners);

// True when the facet's screen corners run the way a face turned toward the viewer does.
bool frontFacing(const PointType* corners);

// Paints every front-facing facet in array order into the drawing page and picks the facet under the cursor.
void drawFacets();

// The frame's picture and pick: projectVertices, sortFacets, drawFacets.
void drawPicture();

// Number of pips a dice face of this sticker colour shows (1 to 6), 0 for a colour that is no side's.
int32_t pipCount(int32_t colour);

// Shows the page being drawn with a filled disc in its top-left corner: the mark of a save or load under way.
void showBusyMark(int32_t colour);

}  // namespace cuboid
