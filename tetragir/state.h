// The whole state of the program: the stickers' colours, the view and camera, the turn animation, the pointer and
// the drawing batches. One global instance, alive for the whole run.
#pragma once

#include <cstdint>

#include "play/input.h"
#include "play/turn_clock.h"
#include "scene/camera.h"
#include "scene/polygon_batch.h"
#include "tetragir/geometry.h"
#include "tetragir/puzzle.h"

namespace tetragir {

// A part's stickers as OpenGL gets them, outlines placed by the drawing (pulled towards the eye).
using StickerBatch = scene::PolygonBatch<stickerCount, 3, scene::Outlines::placed>;

struct ProgramState {
    Colours colours = {};
    uint64_t randomState = 0;  // the scramble's generator (play/random.h), seeded by resetProgram

    ViewFrame view = identityView;
    scene::Camera camera = {};
    int32_t lastX = 639, lastY = 479;  // largest coordinates of the drawing area

    // The turn animation, counted by the clock in thousandths of frames: each frame adds clockStep 0.001, so a
    // turn of animDuration 2.5 lasts 2500 frames. animMove: the layer (0-11) and its count (1 or 2).
    play::TurnClock clock{.clockStep = 0.001, .animDuration = 2.5};
    Move animMove = {-1, 0};

    // The pointer of this frame and the last.
    play::Pointer pointer;
    int32_t hoveredSticker = -1;  // sticker under the pointer this frame, -1 for none
    int32_t pressedSticker = -1;  // sticker under the pointer at the previous step of a left drag, -1 for none or
                                  // the button up

    // This frame's stickers as OpenGL gets them: while a layer turns, batch[0] holds the part beyond the cut and
    // batch[1] the part on the eye's side; while none turns, batch[1] holds them all.
    StickerBatch batch[2];
    scene::DrawingMode drawingMode = scene::DrawingMode::batched;
};

extern ProgramState state;

}  // namespace tetragir
