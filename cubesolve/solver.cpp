#include "cubesolve/solver.h"

#include <initializer_list>

#include "cubesolve/model.h"
#include "cubesolve/moves.h"
#include "cubesolve/state.h"

namespace cubesolve {
namespace {

// Positions are slots (i, j, k) of the 3-cube: i 0 down, 2 up; j 0 back, 2 front; k 0 left, 2 right.
struct Slot {
    int32_t i, j, k;
};

int32_t sticker(Slot s, int32_t axis) { return slotSticker(state.puzzle, s.i, s.j, s.k, axis); }

// The slot holds every one of the colours among its stickers on the axes named (orientation does not matter).
bool holds(Slot s, std::initializer_list<int32_t> axes, std::initializer_list<int32_t> colours) {
    int32_t seen[3];
    int32_t count = 0;
    for (int32_t a : axes) seen[count++] = sticker(s, a);
    for (int32_t c : colours) {
        bool found = false;
        for (int32_t n = 0; n < count; ++n) found = found || seen[n] == c;
        if (!found) return false;
    }
    return true;
}

// The centre colours, read afresh each pass since the whole cube turns between passes.
struct Centres {
    int32_t down, up, front, back, right, left;
};

Centres readCentres() {
    return {sticker({0, 1, 1}, 0), sticker({2, 1, 1}, 0), sticker({1, 2, 1}, 1),
            sticker({1, 0, 1}, 1), sticker({1, 1, 2}, 2), sticker({1, 1, 0}, 2)};
}

constexpr const char* turnWholeCube = "diU";

// Turns by moves until done() holds, at most maxRepeats times. False when it still does not hold after the last
// turn: the stage that asked must end.
template <typename Done>
bool turnUntil(const char* moves, Done done, int32_t* turns = nullptr) {
    for (int32_t n = 0; !done(); ++n) {
        if (n == maxRepeats) return false;
        runMoves(moves);
        if (turns) ++*turns;
    }
    return true;
}

// A stage's passes: pass(count) plays one pass and returns false when a bounded loop gave up. The stage ends
// when count is 4 after a pass, a key is waiting, or the pass bound is reached.
template <typename Pass>
void runStage(bool countAcrossPasses, Pass pass) {
    int32_t count = 0;
    for (int32_t passes = 1;; ++passes) {
        if (!countAcrossPasses) count = 0;
        if (!pass(count)) return;
        if (count == 4 || keyPending() || passes >= maxPasses) return;
    }
}

struct SlotMove {
    Slot slot;
    int32_t axis1, axis2;
    const char* moves;
};

// Where the down-front edge may hide (tried in this order), the axes its two stickers lie on, and the string
// that brings it one step nearer.
constexpr SlotMove downEdgeHiding[10] = {
    {{1, 2, 2}, 1, 2, "F"},    // front-right
    {{1, 2, 0}, 1, 2, "F"},    // front-left
    {{2, 1, 2}, 2, 0, "U"},    // up-right
    {{2, 1, 0}, 2, 0, "U"},    // up-left
    {{0, 1, 2}, 0, 2, "R"},    // down-right
    {{0, 1, 0}, 0, 2, "l"},    // down-left
    {{2, 0, 1}, 1, 0, "U"},    // up-back
    {{1, 0, 0}, 2, 1, "Lul"},  // back-left
    {{1, 0, 2}, 2, 1, "rUR"},  // back-right
    {{0, 0, 1}, 0, 1, "b"},    // down-back
};

// Stage 1: the down-front edge into place, counted and the cube turned once it is there.
bool downEdgesPass(int32_t& count) {
    const Centres c = readCentres();
    constexpr Slot target{0, 2, 1};
    if (sticker(target, 0) == c.down && sticker(target, 1) == c.front) {
        ++count;
        runMoves(turnWholeCube);
        return true;
    }
    if (sticker(target, 0) == c.front && sticker(target, 1) == c.down) runMoves("F");
    const int32_t a = sticker({2, 2, 1}, 1), b = sticker({2, 2, 1}, 0);
    if (a == c.front && b == c.down) runMoves("FF");
    if (a == c.down && b == c.front) runMoves("FRUr");
    for (const SlotMove& h : downEdgeHiding)
        if (holds(h.slot, {h.axis1, h.axis2}, {c.down, c.front})) runMoves(h.moves);
    return true;
}

struct CornerMove {
    Slot slot;
    const char* moves;
};

// Where the down-front-right corner may hide (tried in this order), and the string that brings it one step nearer.
constexpr CornerMove downCornerHiding[6] = {
    {{2, 0, 2}, "U"},    // up-back-right
    {{2, 0, 0}, "U"},    // up-back-left
    {{2, 2, 0}, "u"},    // up-front-left
    {{0, 0, 2}, "rUR"},  // down-back-right
    {{0, 2, 0}, "luL"},  // down-front-left
    {{0, 0, 0}, "LUl"},  // down-back-left
};

// Stage 2: the down-front-right corner into place, counted and the cube turned once it is there.
bool downCornersPass(int32_t& count) {
    const Centres c = readCentres();
    constexpr Slot target{0, 2, 2}, above{2, 2, 2};
    if (sticker(target, 0) == c.down && sticker(target, 1) == c.front && sticker(target, 2) == c.right) {
        ++count;
        runMoves(turnWholeCube);
        return true;
    }
    if (holds(target, {0, 1, 2}, {c.down, c.front, c.right})) runMoves("RUr");
    if (holds(above, {0, 1, 2}, {c.down, c.front, c.right})) {
        if (sticker(above, 1) == c.down) runMoves("fuF");
        else if (sticker(above, 2) == c.down) runMoves("RUr");
        else if (sticker(above, 0) == c.down) runMoves("fUFRUUr");
    }
    for (const CornerMove& h : downCornerHiding)
        if (holds(h.slot, {0, 1, 2}, {c.down, c.front, c.right})) runMoves(h.moves);
    return true;
}

// Stage 3: the front-right middle edge, brought down from the up layer; the cube turns when nothing moved.
bool middleEdgesPass(int32_t& count) {
    bool moved = false;
    const Centres c = readCentres();
    auto inPlace = [](Slot s, int32_t first, int32_t second) {
        return sticker(s, 1) == first && sticker(s, 2) == second;
    };
    count = inPlace({1, 2, 2}, c.front, c.right) + inPlace({1, 2, 0}, c.front, c.left) +
            inPlace({1, 0, 0}, c.back, c.left) + inPlace({1, 0, 2}, c.back, c.right);
    if (count < 4 && !inPlace({1, 2, 2}, c.front, c.right)) {
        const int32_t a = sticker({1, 2, 2}, 1), b = sticker({1, 2, 2}, 2);
        const bool frontRight = (a == c.front || b == c.front) && (a == c.right || b == c.right);
        if (frontRight || (a != c.up && b != c.up)) {
            moved = true;
            runMoves("URurufUF");
        }
        const int32_t upA = sticker({2, 2, 1}, 1), upB = sticker({2, 2, 1}, 0);
        if ((upA == c.front || upB == c.front) && (upA == c.right || upB == c.right)) {
            moved = true;
            runMoves(upA == c.front ? "URurufUF" : "UUfUFURur");
        }
        for (const SlotMove& h :
             {SlotMove{{2, 0, 1}, 0, 1, "U"}, SlotMove{{2, 1, 2}, 0, 2, "U"}, SlotMove{{2, 1, 0}, 0, 2, "U"}})
            if (holds(h.slot, {h.axis1, h.axis2}, {c.front, c.right})) {
                moved = true;
                runMoves(h.moves);
            }
    }
    if (count < 4 && !moved) runMoves(turnWholeCube);
    return true;
}

// Stage 4: the up edges into their places, orientation aside, with the back edge as the reference.
bool upEdgesPlacePass(int32_t& count) {
    const Centres c = readCentres();
    if (!turnUntil("u", [&] { return holds({2, 0, 1}, {1, 0}, {c.back}); })) return false;
    if (!holds({2, 1, 0}, {2, 0}, {c.left}) && !holds({2, 2, 1}, {1, 0}, {c.right})) runMoves("UFRUruf");
    count = 0;
    if (holds({2, 2, 1}, {1, 0}, {c.right})) runMoves("UUFRUrufu");
    count = holds({2, 2, 1}, {1, 0}, {c.front}) + holds({2, 1, 2}, {2, 0}, {c.right}) +
            holds({2, 0, 1}, {1, 0}, {c.back}) + holds({2, 1, 0}, {2, 0}, {c.left});
    return true;
}

// Stage 5: the up corners into their places, orientation aside.
bool upCornersPlacePass(int32_t& count) {
    const Centres c = readCentres();
    count = holds({2, 2, 2}, {0, 1, 2}, {c.front, c.right}) + holds({2, 2, 0}, {0, 1, 2}, {c.front, c.left}) +
            holds({2, 0, 2}, {0, 1, 2}, {c.back, c.right}) + holds({2, 0, 0}, {0, 1, 2}, {c.back, c.left});
    if (count == 0) runMoves("FDFFDDFFdfUUFDFFDDFFdfUUdiU");
    if (count == 1) {
        auto backLeftHome = [] {
            const Centres now = readCentres();
            return holds({2, 0, 0}, {0, 1, 2}, {now.left, now.back});
        };
        if (!turnUntil(turnWholeCube, backLeftHome)) return false;
        runMoves("FDFFDDFFdfUFDFFDDFFdfu");
    }
    // Two or three corners in place make no move: the passes go on until a key or the pass bound.
    return true;
}

// Plays a move string a number of times.
void repeatMoves(const char* moves, int32_t times) {
    for (int32_t n = 0; n < times; ++n) runMoves(moves);
}

// Stage 6: the up corners turned so that the up colour shows on top; count ends as the number of U turns made.
bool upCornersTwistPass(int32_t& count) {
    const int32_t up = readCentres().up;
    constexpr Slot corner{2, 2, 2};
    count = (sticker({2, 2, 2}, 0) == up) + (sticker({2, 2, 0}, 0) == up) + (sticker({2, 0, 2}, 0) == up) +
            (sticker({2, 0, 0}, 0) == up);
    if (count >= 4) return true;
    auto cornerTwisted = [&] { return sticker(corner, 0) != up; };
    if (!turnUntil(turnWholeCube, cornerTwisted)) return false;
    const bool facesFront = sticker(corner, 1) == up;
    repeatMoves(facesFront ? "RfrF" : "fRFr", 2);
    count = 0;
    if (!turnUntil("U", cornerTwisted, &count)) return false;
    repeatMoves(facesFront ? "fRFr" : "RfrF", 2);
    repeatMoves("u", count);
    return true;
}

// Stage 7: the up edges flipped so that the up colour shows on top; count ends as the number of U turns made.
bool upEdgesFlipPass(int32_t& count) {
    const int32_t up = readCentres().up;
    constexpr Slot edge{2, 1, 2};
    count = (sticker({2, 1, 2}, 0) == up) + (sticker({2, 0, 1}, 0) == up) + (sticker({2, 1, 0}, 0) == up) +
            (sticker({2, 2, 1}, 0) == up);
    if (count >= 4) return true;
    auto edgeFlipped = [&] { return sticker(edge, 0) != up; };
    if (!turnUntil(turnWholeCube, edgeFlipped)) return false;
    count = 0;
    repeatMoves("IR", 4);
    if (!turnUntil("U", edgeFlipped, &count)) return false;
    repeatMoves("IR", 4);
    repeatMoves("u", count);
    return true;
}

}  // namespace

void solveCube() {
    if (state.puzzle.gridSize != 3) return;
    runStage(true, downEdgesPass);
    runStage(true, downCornersPass);
    runStage(false, middleEdgesPass);
    runStage(false, upEdgesPlacePass);
    runStage(false, upCornersPlacePass);
    runStage(false, upCornersTwistPass);
    runStage(false, upEdgesFlipPass);
}

void playPatternNumber(int32_t r) {
    if (r >= 0 && r < 8) runMoves(patterns[r]);
}

void playPattern() { playPatternNumber(cubie::randomBelow(state.puzzle, 8)); }

}  // namespace cubesolve
