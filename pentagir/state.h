// The whole state of the program: the stickers' colours, the view and camera, the turn animation, the pointer and
// the drawing batch. One global instance, alive for the whole run.
#pragma once

#include <cstdint>

#include "pentagir/geometry.h"
#include "pentagir/puzzle.h"
#include "play/input.h"
#include "play/turn_clock.h"
#include "scene/camera.h"
#include "scene/polygon_batch.h"

namespace pentagir {

struct ProgramState {
    Colours colours = {};
    uint64_t randomState = 0;  // the scramble's generator (play/random.h), seeded by resetProgram

    ViewFrame view = identityView;
    FaceFrames faces = {};  // this frame's, rewritten by drawPuzzle
    scene::Camera camera = {};
    int32_t lastX = 639, lastY = 479;  // largest coordinates of the drawing area

    // The turn animation, counted by the clock in thousandths of frames: each frame adds clockStep 0.001, so a
    // turn of animDuration 2.5 lasts 2500 frames. animMove: the layer (0-11) and its count (1 or 4).
    play::TurnClock clock{.clockStep = 0.001, .animDuration = 2.5};
    Move animMove = {-1, 0};

    // The pointer of this frame and the last.
    play::Pointer pointer;
    int32_t hoveredSticker = -1;  // sticker under the pointer this frame, -1 for none
    int32_t pressedSticker = -1;  // anchor of a left-button drag, -1 for none or the button up

    // This frame's corners of every sticker as OpenGL gets them, and the stickers its picture needs.
    float corner[stickerCount][5][3] = {};
    bool shown[stickerCount] = {};
    bool filled[stickerCount] = {};              // of those shown, the ones whose fill is drawn too
    uint8_t outlineSegments[stickerCount] = {};  // bit i: the segment from corner i to the next is drawn

    // This frame's drawn stickers as OpenGL gets them.
    scene::PolygonBatch<stickerCount, 5> batch;
    scene::DrawingMode drawingMode = scene::DrawingMode::batched;
};

extern ProgramState state;

}  // namespace pentagir
