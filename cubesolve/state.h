// The whole state of cubesolve: the cube, the view and its projected points, the mouse and drag bookkeeping; and,
// kept apart in one member, the probe's switches, which let the probe, the tests and the benchmarks run the same
// code without a window. One global instance, sized for the largest cube, alive for the whole run.
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

// What the probe (and the tests and benchmarks that drive the program the way it does) switch on and read back.
// The program never sets a switch; it only counts frames and letters here and logs letters when asked. As it
// starts, every switch is off and the frames are drawn.
struct ProbeSwitches {
    // On: frames only advance the turn, with no drawing, no mouse and no page flip (so no pacing).
    bool headless = false;
    int64_t framesRun = 0;      // frames since start, drawn or not
    int32_t lettersPlayed = 0;  // letters of move strings played since the probe last cleared it
    // Once lettersPlayed reaches it, a solve sees a key waiting (-1: only a real key counts). Lets the probe cut a
    // solve short at a chosen letter.
    int32_t keyAfterLetters = -1;
    // On: every played letter is appended to moveLog (the probe reports a solve's letters from it).
    bool logMoves = false;
    int32_t moveLogLength = 0;
    char moveLog[moveLogCapacity] = {};
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

    ProbeSwitches probe;  // set only by the probe, the tests and the benchmarks
};

extern ProgramState state;

}  // namespace cubesolve
