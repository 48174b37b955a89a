// The whole state of a cuboid program: the puzzle model, the view, the picture's projected points and the
// gesture bookkeeping. One global instance, sized for the largest puzzle, alive for the whole run.
#pragma once

#include <cstdint>

#include "cuboid/variant.h"
#include "play/input.h"

namespace cuboid {

// View angles every build starts from: about x, then y, then z, in whole degrees.
inline constexpr int32_t startViewAngle[3] = {45, 45, 90};

struct ProgramState {
    Model puzzle;

    int32_t viewAngle[3] = {startViewAngle[0], startViewAngle[1], startViewAngle[2]};
    double screenVertex[Model::vertexCount][3] = {};  // per vertex index: screen x, screen y, depth, whole numbers
    int32_t depthKey[Model::recordCount] = {};        // sum of each record's corner depths, moved with it by the sort
    double centreX = 319.5, centreY = 239.5;          // half the largest drawing-area coordinates

    int32_t pickedCubie = -1;  // slot of the facet under the cursor this frame, -1 for none
    int32_t pickedFace = -1;   // its face number, -1 for none
    bool diceMode = false;

    int16_t drawPage = 0;   // page the next frame paints; once a frame has flipped, the page on show
    play::Pointer pointer;  // the mouse in this frame and the one before, in pixels
    int32_t dragStartCubie = 0, dragStartFace = 0;
};

extern ProgramState state;

}  // namespace cuboid
