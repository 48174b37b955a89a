// The OpenGL drawing of one frame: 36 filled stickers and their 8-pixel black outlines.
#pragma once

#include <cstdint>

#include "scene/camera.h"
#include "scene/polygon_batch.h"
#include "tetragir/geometry.h"
#include "tetragir/puzzle.h"

namespace tetragir {

constexpr float outlineWidth = 8.0f;

// The frame's stickers as OpenGL gets them. While a layer turns the puzzle is two convex parts on either side of
// the cut, and the batch holds the part beyond the cut first: its first farCount stickers are drawn, then the depth
// buffer is cleared and the part on the eye's side is drawn over them. The part in front can hide the other but
// never be hidden by it, and an outline of the part behind, pulled towards the eye, cannot show through it.
struct StickerBatch : scene::PolygonBatch<stickerCount, 3> {
    int32_t farCount = 0;  // 0 while nothing turns: one part, drawn as a whole
};

// OpenGL state for the whole run, after setupCamera: depth test, flat shading, line width, the camera.
void setupView(const scene::Camera& camera);

// The frame's stickers into the batch, in face then place order, and while a layer turns the part beyond the cut
// before the part in front. While no layer turns the puzzle is convex, and without wholePuzzle the faces turned
// away from the eye are left out but for their outline segments along the edges they share with faces turned
// towards it: the faces in front hide the rest, so the picture is the same with less to draw.
void fillBatch(StickerBatch& batch, const Colours& colours, const ViewFrame& view, const LayerRotation& rotation,
               bool wholePuzzle);

// Draws the batch through the camera, part by part: all fills, then 8-pixel black outlines that stay whole over
// their fills however steeply a face is seen. Batched in two calls a part, or one primitive at a time.
void drawPuzzle(const StickerBatch& batch, const scene::Camera& camera, bool batched);

// A whole frame's picture from the program state: clears, draws the stickers (the turning layer turned), and
// hands the commands to OpenGL. With state.batchedDrawing false it draws all 36 stickers one primitive at a time,
// the reference the faster drawing is held to.
void drawFrame();

}  // namespace tetragir
