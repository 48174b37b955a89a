// The program's life: start-up, one frame of the loop, and the end. main() calls these three and nothing else;
// tests and benchmarks drive the same frame with input of their own.
#pragma once

#include <cstdint>

#include "cube3d/controls.h"

namespace cube3d {

inline constexpr const char* windowTitle = "ZADOR TOLAN";

// Turns count degrees per frame, so the pace sets their speed: a quarter turn of 90 frames in 0.75 s.
inline constexpr int16_t framesPerSecond = 120;

// Opens the window with OpenGL drawing and builds the start puzzle. When the window or its OpenGL drawing cannot
// be had, prints "cube3d: <cause>" on standard error and returns false.
bool startUp();

// One frame: input, the turn step, the picture and pick, the gestures and a key. Returns false when the program
// should end.
bool runFrame();

// Turns OpenGL drawing off and closes the window if it is still open.
void shutDown();

// Puts the program in its start state (a solved 10-cube, start camera, no gesture under way) with the random
// generator seeded as given. startUp does this after opening the window.
void resetProgram(uint32_t seed);

// Everything of a frame after its input has been read.
bool playFrame(const FrameInput& input);

// The digest of the final state a recording ends with and a replay must reach (play::Digest): the puzzle and the
// camera.
uint64_t stateDigest();

}  // namespace cube3d
