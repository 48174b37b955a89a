// The program's life: start-up, one frame of the loop, and the end. main() calls these three and nothing else;
// tests and benchmarks drive the same frame with input of their own.
#pragma once

#include <cstdint>

#include "cuboid/controls.h"

namespace cuboid {

inline constexpr const char* windowTitle = "ZADOR TOLAN";

// Turns advance a fixed angle per frame, so the frame rate sets their speed: a quarter turn in 0.3 s.
inline constexpr int16_t framesPerSecond = 60;

// Opens the window and builds the start puzzle. When the window cannot be opened, prints
// "<program>: <cause>" on standard error and returns false.
bool startUp();

// One frame: shows the page painted last frame, paints the other, and acts on the mouse and a key. Returns false
// when the program should end.
bool runFrame();

// Closes the window if it is still open.
void shutDown();

// Puts the program in its start state (a solved 6-cube, start view, no gesture under way) with the random
// generator seeded as given. startUp does this after opening the window.
void resetProgram(uint32_t seed);

// Everything of a frame after its input has been read: the turn step, the picture, the gestures and the key.
bool playFrame(const FrameInput& input);

// The digest of the final state a recording ends with and a replay must reach (play::Digest): the puzzle, the view and
// the dice mode.
uint64_t stateDigest();

}  // namespace cuboid
