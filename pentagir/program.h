// The program's life: start-up, one frame of the loop, and the end. main() calls these three and nothing else;
// tests and benchmarks drive the same frame with input of their own.
#pragma once

#include <cstdint>

#include "pentagir/controls.h"

namespace pentagir {

inline constexpr const char* windowTitle = "PENTAGIR";

// Every motion is counted in frames, so the frame loop runs unpaced: a turn lasts as long as 2500 frames take to
// draw.
inline constexpr int16_t framesPerSecond = 0;

// Opens the window with OpenGL and prepares everything; when either cannot be had it prints "pentagir: <cause>" on
// standard error, leaves nothing open and returns false.
bool startUp();

// One frame of the loop with the live mouse and keys; false once Escape is held, after the frame has been shown.
bool runFrame();

// Leaves OpenGL drawing and closes the window.
void shutDown();

// The whole start state for the drawing area in state.lastX, state.lastY (no window needed): solved puzzle, start
// view, no turn under way, the random generator seeded as given.
void resetProgram(uint32_t seed);

// One frame for the given input: keys, view turns, drawing, picking, drags, the animated turn, presentation. GL
// calls and presentation are harmless no-ops without a window.
void playFrame(const FrameInput& input);

// The digest of the final state a recording ends with and a replay must reach (play::Digest): the stickers' colours,
// the view, the turn animation and the random generator.
uint64_t stateDigest();

}  // namespace pentagir
