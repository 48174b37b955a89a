// The whole state of the program: the stickers' colours, the fixed shape, the view and camera, the turn animation,
// the pointer and the drawing batch. One global instance, alive for the whole run.
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
    int32_t stickerColour[stickerCount] = {};  // colour index (0-11, the face it belongs to when solved)
    uint64_t randomState = 0;                  // the scramble's generator (play/random.h), seeded by resetProgram

    // Fixed shape, built once by buildGeometry.
    Vec2 faceTemplate[templatePointCount] = {};
    Vec3 vertexPos[vertexCount] = {};
    Vec3 faceCentre[faceCount] = {};
    Vec3 faceAxisX[faceCount] = {};
    Vec3 faceAxisY[faceCount] = {};
    int16_t cornerPoint[stickerCount][5] = {};  // point of the solid (0 to cornerPointCount - 1) at each corner

    // View basis rows: model vector m shows in view space as (viewX . m, viewY . m, viewZ . m).
    Vec3 viewX{1, 0, 0}, viewY{0, 1, 0}, viewZ{0, 0, 1};
    // This frame's face frames in view space (without depthOffset), rewritten by updateFaceFrames.
    Vec3 viewAxisX[faceCount] = {};
    Vec3 viewAxisY[faceCount] = {};
    Vec3 viewCentre[faceCount] = {};
    // From view space plus depthOffset to the window.
    scene::Camera camera = {};

    // The turn animation, counted by the clock in thousandths of frames: each frame adds clockStep 0.001, so
    // animDuration 2.5 is 2500 frames. animRow 0-11, animK 1 or 4.
    play::TurnClock clock{.clockStep = 0.001, .animDuration = 2.5};
    int32_t animRow = -1;
    int32_t animK = 0;
    bool movingSticker[stickerCount] = {};  // stickers of the animated layer, set by animationRotation

    // The pointer of this frame and the last, on a drawing area whose largest coordinates are lastX, lastY.
    int32_t lastX = 639, lastY = 479;
    play::Pointer pointer;
    int32_t hoveredSticker = -1;  // sticker under the pointer this frame, -1 for none
    int32_t pressedSticker = -1;  // anchor of a left-button drag, -1 for none or the button up

    // This frame's corners of every sticker as OpenGL gets them, and the stickers its picture needs.
    float corner[stickerCount][5][3] = {};
    bool shown[stickerCount] = {};
    bool filled[stickerCount] = {};              // of those shown, the ones whose fill is drawn too
    uint8_t outlineSegments[stickerCount] = {};  // bit i: the segment from corner i to the next is drawn

    // This frame's drawn stickers as OpenGL gets them; false draws every sticker one primitive at a time, the
    // reference the faster drawing is held to. everySticker batches every sticker whole, to measure what leaving
    // out the hidden ones gains.
    scene::PolygonBatch<stickerCount, 5> batch;
    bool batchedDrawing = true;
    bool everySticker = false;
};

extern ProgramState state;

}  // namespace pentagir
