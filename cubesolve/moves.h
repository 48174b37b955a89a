// Move strings: each face letter one animated quarter turn, and the table that says which layer a letter turns.
#pragma once

#include <cstdint>

namespace cubesolve {

// The quarter turn an upper-case letter names: axis, layer index (0 to 2 whatever N is) and the sign of its step.
struct LetterTurn {
    char letter;
    int32_t axis;
    int32_t layer;
    int32_t sign;
};

// D, I, U about the vertical axis; B, J, F from back to front; L, K, R from left to right. Each upper-case letter
// turns its layer clockwise seen from outside the face it names (I like D, J like F, K like L).
// clang-format off
inline constexpr LetterTurn letterTurns[9] = {
    {'D', 0, 0, +1}, {'I', 0, 1, +1}, {'U', 0, 2, -1},
    {'B', 1, 0, -1}, {'J', 1, 1, +1}, {'F', 1, 2, +1},
    {'L', 2, 0, +1}, {'K', 2, 1, +1}, {'R', 2, 2, -1},
};
// clang-format on

// Longest move string played; the rest of a longer one is ignored.
inline constexpr int32_t maxMoveString = 255;

// Turn of a character: the table row of its upper-case form, and direction +1 (upper case) or -1 (lower case).
// Returns false for a character that names no turn.
bool letterTurn(char c, LetterTurn& turn, int32_t& direction);

// What the rules ask of the frame player, which defines these two (player.cpp): they play turns and look for keys
// without knowing how a frame is drawn or what it reads.

// Plays the letters of a string one after another, each as a quarter turn run to its end, frame by frame; any
// other character is skipped and costs no frame. Returns when the last turn has ended.
void runMoves(const char* moves);

// True when a key is waiting for the main loop (or the probe's chosen letter count has been reached). Takes no
// key: the main loop acts on it after the solve.
bool keyPending();

}  // namespace cubesolve
