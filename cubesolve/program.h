// The program's life: start-up, one round of the main loop, and the end. main() calls these three and nothing
// else; the probe, tests and benchmarks drive the same code with the window left closed.
#pragma once

#include <cstdint>

namespace cubesolve {

inline constexpr const char* windowTitle = "ZADOR LUI TOLAN";

// Turns advance 5 degrees a frame, so the frame rate sets their speed: a quarter turn of 18 frames in 0.3 s.
inline constexpr int16_t framesPerSecond = 60;

// Opens the window and builds the start cube. When the window cannot be opened, prints "cubesolve: <cause>" on
// standard error and returns false.
bool startUp();

// One round of the main loop: the round's frames (playRound: one frame, or a whole random or dragged turn), then
// at most one key. A key without a character arrives as 0 and a code, and the code stands for the key: Ctrl+Left
// (0, 115) acts as the size key, the close button (0, 107) does nothing. Returns false when the program should end
// (Escape).
bool runFrame();

// Closes the window if it is still open.
void shutDown();

// Puts the program in its start state (a solved 3-cube, start view, no gesture) with the random generator seeded
// as given. startUp does this after opening the window.
void resetProgram(uint32_t seed);

// The digest of the final state a recording ends with and a replay must reach (play::Digest): the cube, the view and
// the cell size.
uint64_t stateDigest();

}  // namespace cubesolve
