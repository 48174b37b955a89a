// The frame player: the one place where a frame happens (the mouse read, the turn advanced, the picture drawn and
// picked, the mouse gestures followed, the pages flipped), and the runs of frames built on it: a quarter turn, a
// round of the main loop. It also plays the letters of move strings and answers whether a key is waiting for the
// rules, which declare those two in moves.h and never see a frame.
//
// Every input the program reads after start-up is read here: the mouse once in every frame, turns included; a
// key only between turns (a solve asks after each pass) and between rounds of the main loop.
#pragma once

#include <cstdint>

namespace cubesolve {

// Begins a quarter turn of the axis and layer at step degrees a frame, and runs frames until it has ended.
void playTurn(int32_t axis, int32_t layer, int32_t step);

// One round of the main loop's frames: one frame, or, when a random or dragged turn starts in it, frames until
// that turn has ended. A random turn goes stepSize degrees a frame.
void playRound();

// The key the main loop acts on after a round: 0 when none is waiting; a key that arrives as 0 and a code gives
// the code.
uint8_t takeKey();

}  // namespace cubesolve
