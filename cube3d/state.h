// The whole state of cube3d: the puzzle, the camera, this frame's pick and picture with the batched drawing's
// working arrays, and the gesture bookkeeping. One global instance, sized for the largest puzzle, alive for the
// whole run.
#pragma once

#include <cstdint>

#include "cube3d/config.h"
#include "play/input.h"
#include "scene/camera.h"
#include "scene/polygon_batch.h"
#include "scene/vec.h"

namespace cube3d {

// What the batched drawing (draw.cpp) works out afresh every frame, and the quads it sends.
struct QuadBatch {
    // Per slot and face: the record that lies on that face with its corners in the face's own order, -1 for none;
    // and whether the slot is a closed box (all six faces so, none twice).
    int16_t faceRecord[Model::slotCount][6] = {};
    bool closedBox[Model::slotCount] = {};
    // Per record: the face it lies on as above (-1 for none) and whether it turns away from the eye.
    int8_t woundOn[Model::recordCount] = {};
    bool facingAway[Model::recordCount] = {};
    // Every cubie inside the cuboid is a closed box (always so but for a hand-made save file).
    bool everyCubieClosed = false;
    // Per axis and layer index: where the layer's cubies begin and end along that axis when at home.
    double layerLow[3][Model::maxGrid] = {}, layerHigh[3][Model::maxGrid] = {};
    // What is sent: four corners and their colour per kept record, in record order.
    float corner[Model::recordCount * 4][3] = {};
    float colour[Model::recordCount * 4][3] = {};
    int32_t quads = 0;
};

struct ProgramState {
    Model puzzle;

    // Camera: yaw and pitch in whole degrees, grown by the right-button drag without limit or wrap.
    int32_t cameraYaw = startAngle;
    int32_t cameraPitch = startAngle;
    int32_t areaWidth = 640, areaHeight = 480;  // the drawing area the camera maps to
    scene::Camera camera{};
    scene::Vec3 eye{};  // the eye in world space, for the back-face test

    // This frame's pick: slot and face of the nearest facet the ray meets, -1 for none.
    int32_t pickedCubie = -1;
    int32_t pickedFace = -1;
    double bestDistance = 1e10;
    scene::Vec3 rayNear{}, rayFar{};

    // This frame's picture, resolved in record order: each record's colour after inheritance and darkening.
    float recordColour[Model::recordCount][3] = {};
    bool darkened[Model::recordCount] = {};
    // The colour in effect before the first record and after the last: OpenGL keeps the last colour of one frame
    // for the next, and a code without a colour in record 0 (possible in a hand-made file) inherits it.
    float colourBefore[3] = {1.0f, 1.0f, 1.0f};
    float colourAfter[3] = {1.0f, 1.0f, 1.0f};
    bool glDrawing = false;  // an OpenGL context is current (false in tests without a window)
    scene::DrawingMode drawingMode = scene::DrawingMode::batched;  // others for measuring and tests
    QuadBatch batch;

    play::Pointer pointer;  // the mouse in this frame and the one before, in pixels
    int32_t dragStartCubie = 0, dragStartFace = 0;
};

extern ProgramState state;

}  // namespace cube3d
