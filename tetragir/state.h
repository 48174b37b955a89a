// The whole state of the program: the stickers' colours, the view and camera, the turn animation, the pointer and
// the drawing batch. One global instance, alive for the whole run.
#pragma once

#include <cstdint>

#include "tetragir/draw.h"
#include "tetragir/geometry.h"
#include "tetragir/puzzle.h"
#include "scene/camera.h"

namespace tetragir {

struct ProgramState {
    Colours colours = {};
    uint64_t randomState = 0x9E3779B97F4A7C15ull;

    ViewFrame view = identityView;
    scene::Camera camera = {};
    int32_t lastX = 639, lastY = 479;  // largest coordinates of the drawing area

    // The turn animation. frameClock and animStart count frames in thousands: each frame adds clockStep 0.001, so
    // a turn of animDuration 2.5 lasts 2500 frames. animStart < 0 while no turn is animated.
    double frameClock = 0.0;
    double clockStep = 0.001;
    double animStart = -1.0;
    double animDuration = 2.5;
    int32_t animMove = -1;  // 0-11
    int32_t animCount = 0;  // 1 or 2

    int32_t dragSticker = -1;    // sticker under the pointer at the previous step of a left drag, -1 for none
                                 // or the button up
    int32_t pickedSticker = -1;  // sticker under the pointer this frame, -1 for none
    int32_t prevMouseX = 0, prevMouseY = 0, prevButtons = 0;

    // This frame's stickers as OpenGL gets them; false draws one primitive at a time, the reference the batched
    // drawing is held to.
    StickerBatch batch;
    bool batchedDrawing = true;
};

extern ProgramState state;

}  // namespace tetragir
