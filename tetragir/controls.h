// The frame loop's state and one frame of it: keys, view turns, drawing, picking, drags and the animated turn.
#pragma once

#include <cstdint>

#include "geometry.h"
#include "scene/camera.h"
#include "state.h"

namespace tetragir {

// Input of one frame, read once at its start.
struct FrameInput {
    int32_t mouseX, mouseY;  // drawing-area pixels, origin top-left
    int32_t buttons;         // bit 0 left, bit 1 right
    bool scramble, reset;    // A, S
    bool right, left, up, down, spinX, spinZ;
};

// Everything the program keeps for the whole run.
struct Tetragir {
    Colours colours;
    ViewFrame view;
    scene::Camera camera;
    int32_t lastX, lastY;  // largest coordinates of the drawing area
    // The clock counts frames in thousands: each frame adds clockStep 0.001, so a turn of animDuration 2.5
    // lasts 2500 frames.
    double clock, clockStep;
    double animStart;  // clock value the running turn began at; negative while none runs
    double animDuration;
    int32_t animMove, animCount;
    int32_t dragSticker;    // sticker under the pointer at the previous step of a left drag, -1 for none
    int32_t pickedSticker;  // sticker under the pointer this frame
    int32_t prevMouseX, prevMouseY, prevButtons;
    bool batched;  // false draws one primitive at a time, the reference the batched drawing is held to
    StickerBatch batch;
};
extern Tetragir game;

// The whole start state for a drawing area with the given largest coordinates (no window needed).
void initLoop(int32_t lastX, int32_t lastY, uint32_t seed);

// One frame for the given input; GL calls and presentation are harmless no-ops without a window.
void stepFrame(const FrameInput& input);

}  // namespace tetragir
