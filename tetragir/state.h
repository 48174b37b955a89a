// The whole state of the program: the stickers' colours, the view and camera, the turn animation, the pointer and
// the drawing batch. One global instance, alive for the whole run.
#pragma once

#include <cstdint>

#include "play/input.h"
#include "play/turn_clock.h"
#include "scene/camera.h"
#include "tetragir/draw.h"
#include "tetragir/geometry.h"
#include "tetragir/puzzle.h"

namespace tetragir {

struct ProgramState {
    Colours colours = {};
    uint64_t randomState = 0;  // the scramble's generator (play/random.h), seeded by resetProgram

    ViewFrame view = identityView;
    scene::Camera camera = {};
    int32_t lastX = 639, lastY = 479;  // largest coordinates of the drawing area

    // The turn animation, counted by the clock in thousandths of frames: each frame adds clockStep 0.001, so a
    // turn of animDuration 2.5 lasts 2500 frames.
    play::TurnClock clock{.clockStep = 0.001, .animDuration = 2.5};
    int32_t animMove = -1;  // 0-11
    int32_t animCount = 0;  // 1 or 2

    // The pointer of this frame and the last.
    play::Pointer pointer;
    int32_t hoveredSticker = -1;  // sticker under the pointer this frame, -1 for none
    int32_t pressedSticker = -1;  // sticker under the pointer at the previous step of a left drag, -1 for none or
                                  // the button up

    // This frame's stickers as OpenGL gets them; false draws one primitive at a time, the reference the batched
    // drawing is held to.
    StickerBatch batch;
    bool batchedDrawing = true;
    // The outline corners of every sticker in the batch, pulled towards the eye; rewritten by each drawPuzzle.
    float outlinePosition[StickerBatch::maxVertices][3] = {};
};

extern ProgramState state;

}  // namespace tetragir
