// Which stickers this frame's picture needs, so that the drawing can leave the others out and still give the same
// pixels.
//
// While nothing turns, the puzzle is a convex solid seen from outside: the stickers turned towards the eye cover
// every pixel it shows, and one turned away can win a pixel only beside one turned towards the eye, on the outline,
// where the depths of the two all but tie. While a layer turns, the puzzle is two convex solids on either side of
// the cut. The one on the eye's side hides the other wherever it covers it, and its cut is turned away, so nothing
// shows through it; the far one shows the inside of its stickers turned away through its cut.
#pragma once

#include "pentagir/geometry.h"

namespace pentagir {

// Pixels that a hidden sticker must keep from the outline of the solid that hides it: rounding, the fills' depth
// offset and the width of the outlines all reach less than this past a depth tie.
constexpr double hiddenMarginPixels = 2.5;

// This frame's corners of every sticker (from state.faces) into state.corner, into state.shown the stickers the picture
// needs, and into state.outlineSegments the segments of their outlines it needs: all of them when whole is set.
void chooseShownStickers(const LayerRotation& rotation, bool whole);

}  // namespace pentagir
