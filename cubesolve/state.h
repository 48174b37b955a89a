// The whole state of cubesolve: the cube, the view and its projected points, the mouse and drag bookkeeping, and
// the few switches that let the probe and the tests run the same code without a window. One global instance,
// sized for the largest cube, alive for the whole run.
#pragma once

#include <cstdint>

#include "cubesolve/model.h"
#include "play/input.h"

namespace cubesolve {

// Raster of square cells the cube is drawn on, and the window pixels per cell.
inline constexpr int32_t rasterWidth = 320;
inline constexpr int32_t rasterHeight = 200;
inline constexpr int16_t startCellScale = 2;

// View angles at start and after the size key: about x, then y, then z, in whole degrees.
inline constexpr int32_t startViewAngle[3] = {45, 45, 90};

// Longest letter record the probe can read back from one solve: far above what the bounded stages can play.
inline constexpr int32_t moveLogCapacity = 1 << 16;

// A projected point: cell x, cell y (y downward) and depth (larger is nearer), all whole numbers.
struct CellPoint {
    double x, y, depth;
};

struct ProgramState {
    Model puzzle;

    int16_t cellScale = startCellScale;
    int32_t viewAngle[3] = {startViewAngle[0], startViewAngle[1], startViewAngle[2]};  // kept in 0 to 359
    CellPoint screenVertex[Model::vertexCount] = {};                                   // per vertex index
    int16_t depthKey[Model::recordCount] = {};  // sum of each record's three depths, moved with it by the sort

    int16_t drawPage = 0;   // after a frame, the page on show (the one it drew); the next frame draws on the other
    play::Pointer pointer;  // the mouse in cells, read once a drawn frame, and as the drawn frame before saw it
    int32_t pickedCubie = -1, pickedFace = -1;  // slot and face of the triangle under the cursor this frame
    int32_t dragStartCubie = 0, dragStartFace = 0;

    // Off in the probe: frames then only advance the turn, with no drawing, mouse or pacing.
    bool showFrames = true;
    int64_t framesRun = 0;  // frames since start, drawn or not
    // Letters of move strings played since the last solve began; a solve sees a key waiting once this reaches
    // keyAfterLetters (-1: only a real key counts). Lets the probe cut a solve short at a chosen letter.
    int32_t lettersPlayed = 0;
    int32_t keyAfterLetters = -1;
    // When on, every played letter is appended to moveLog (the probe reports a solve's letters from it).
    bool logMoves = false;
    int32_t moveLogLength = 0;
    char moveLog[moveLogCapacity] = {};
};

extern ProgramState state;

}  // namespace cubesolve
