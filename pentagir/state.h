// The whole state of the program: the stickers' colours, the fixed shape, the view and camera, the turn animation,
// the pointer and the drawing batch. One global instance, alive for the whole run.
#pragma once

#include <cstdint>

#include "pentagir/geometry.h"
#include "pentagir/puzzle.h"
#include "scene/camera.h"
#include "scene/polygon_batch.h"

namespace pentagir {

struct ProgramState {
    int32_t stickerColour[stickerCount] = {};  // colour index (0-11, the face it belongs to when solved)
    uint64_t randomState = 0x9E3779B97F4A7C15ull;

    // Fixed shape, built once by buildGeometry.
    Vec2 faceTemplate[templatePointCount] = {};
    Vec3 vertexPos[vertexCount] = {};
    Vec3 faceCentre[faceCount] = {};
    Vec3 faceAxisX[faceCount] = {};
    Vec3 faceAxisY[faceCount] = {};

    // View basis rows: model vector m shows in view space as (viewX . m, viewY . m, viewZ . m).
    Vec3 viewX{1, 0, 0}, viewY{0, 1, 0}, viewZ{0, 0, 1};
    // This frame's face frames in view space (without depthOffset), rewritten by updateFaceFrames.
    Vec3 viewAxisX[faceCount] = {};
    Vec3 viewAxisY[faceCount] = {};
    Vec3 viewCentre[faceCount] = {};
    // From view space plus depthOffset to the window.
    scene::Camera camera = {};

    // The turn animation. frameClock and animStart count frames in thousands (each frame adds clockStep 0.001, so
    // animDuration 2.5 is 2500 frames); animStart < 0 while no turn is animated; animRow 0-11, animK 1 or 4.
    double frameClock = 0.0;
    double clockStep = 0.001;
    double animStart = -1.0;
    double animDuration = 2.5;
    int32_t animRow = -1;
    int32_t animK = 0;
    bool movingSticker[stickerCount] = {};  // stickers of the animated layer, set by animationRotation

    // Pointer, measured from the right and bottom edges of a drawing area whose largest coordinates are areaLastX,
    // areaLastY, as this frame and the last one saw it.
    int32_t areaLastX = 639, areaLastY = 479;
    int32_t pointerX = 0, pointerY = 0;
    int32_t prevPointerX = 0, prevPointerY = 0;
    int32_t buttons = 0, prevButtons = 0;  // bit 0 left, bit 1 right
    int32_t hoveredSticker = -1;           // sticker under the pointer this frame, -1 for none
    int32_t pressedSticker = -1;           // anchor of a left-button drag, -1 for none or the button up

    // This frame's stickers as OpenGL gets them; false draws one primitive at a time, for measuring what batching
    // gains.
    scene::PolygonBatch<stickerCount, 5> batch;
    bool batchedDrawing = true;
};

extern ProgramState state;

}  // namespace pentagir
