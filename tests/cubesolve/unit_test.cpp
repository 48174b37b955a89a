// The program's own code with no window: sticker lookup, frames a move costs, keys, the mouse gestures, and the
// solver's bounds on cubes it cannot finish.
#include <gtest/gtest.h>

#include <cstring>

#include "cubesolve/controls.h"
#include "cubesolve/model.h"
#include "cubesolve/moves.h"
#include "cubesolve/player.h"
#include "cubesolve/program.h"
#include "cubesolve/solver.h"
#include "cubesolve/state.h"
#include "window/window.h"

using namespace cubesolve;

namespace {

class cubesolveProgram : public ::testing::Test {
protected:
    void SetUp() override {
        state.probe.headless = true;
        state.probe.keyAfterLetters = -1;
        resetProgram(5);
    }

    static Model& cube() { return state.puzzle; }

    // Snapshot of the cube's records, to tell whether anything moved.
    struct Snapshot {
        Facet facets[Model::recordCount];
    };
    static Snapshot snapshot() {
        Snapshot s;
        std::memcpy(s.facets, cube().facets, sizeof s.facets);
        return s;
    }
    static bool unchangedSince(const Snapshot& s) { return std::memcmp(s.facets, cube().facets, sizeof s.facets) == 0; }

    // Recolours the sticker of a slot on one axis (the slot must have one there): sets up cubes no turn reaches.
    static void paintSticker(int32_t i, int32_t j, int32_t k, int32_t axis, int32_t colour) {
        const int32_t n = cube().gridSize;
        const int32_t at[3] = {i, j, k};
        // Face numbers of the low and high side of each axis.
        constexpr int32_t lowFace[3] = {2, 4, 1}, highFace[3] = {3, 5, 0};
        const int32_t face = at[axis] == 0 ? lowFace[axis] : highFace[axis];
        for (Facet& f : cube().facets)
            if (f.colour != 0 && cubie::facetSlot(f) == cubie::slotNumber(n, i, j, k) && cubie::facetFace(f) == face)
                f.colour = colour;
    }
};

TEST_F(cubesolveProgram, SlotStickerReadsTheSolvedCube) {
    struct Case {
        int32_t i, j, k, axis, colour;
        const char* where;
    };
    // clang-format off
    const Case cases[] = {
        {0, 1, 1, 0, 14, "down centre"},        {1, 2, 1, 1, 12, "front centre"},
        {1, 1, 2, 2, 2, "right centre"},        {1, 1, 1, 0, -1, "core"},
        {2, 2, 2, 0, 15, "up-front-right, up"}, {2, 2, 2, 1, 12, "up-front-right, front"},
        {2, 2, 2, 2, 2, "up-front-right, right"}, {0, 0, 0, 2, 9, "down-back-left, left"},
        {2, 2, 1, 2, -1, "up-front edge has no side sticker"}, {1, 0, 1, 0, -1, "back centre has no up sticker"},
    };
    // clang-format on
    for (const Case& c : cases) EXPECT_EQ(slotSticker(cube(), c.i, c.j, c.k, c.axis), c.colour) << c.where;
}

TEST_F(cubesolveProgram, EveryLetterCostsEighteenFramesAndNothingElseCostsAny) {
    struct Case {
        int32_t size;
        const char* moves;
        int64_t frames;
        bool moves_cube;
    };
    // clang-format off
    const Case cases[] = {
        {3, "F", 18, true},        {3, "F 1 f", 36, false},  {3, "?!09 ", 0, false},
        {2, "U", 18, false},       // layer 2 of a 2-cube holds no cubie: a turn period with nothing moving
        {5, "R", 18, true},
    };
    // clang-format on
    for (const Case& c : cases) {
        resizeCube(c.size);
        const Snapshot before = snapshot();
        const int64_t start = state.probe.framesRun;
        runMoves(c.moves);
        EXPECT_EQ(state.probe.framesRun - start, c.frames) << c.moves << " on N = " << c.size;
        EXPECT_EQ(!unchangedSince(before), c.moves_cube) << c.moves << " on N = " << c.size;
        EXPECT_FALSE(cube().turning);
    }
}

TEST_F(cubesolveProgram, PatternSixIsSixteenQuarterTurns) {
    const int64_t start = state.probe.framesRun;
    state.probe.lettersPlayed = 0;
    playPatternNumber(6);
    EXPECT_EQ(state.probe.lettersPlayed, 16);
    EXPECT_EQ(state.probe.framesRun - start, 16 * 18);
}

TEST_F(cubesolveProgram, SizeKeyCyclesFourFiveTwoThreeWithTheStartView) {
    for (int32_t expected : {4, 5, 2, 3}) {
        state.viewAngle[0] = 200;
        cube().scrambleLeft = 7;
        runMoves("FR");
        ASSERT_TRUE(actOnKey(keyLetters.size));
        EXPECT_EQ(cube().gridSize, expected);
        EXPECT_EQ(cube().cellSize[0], 120 / expected);
        EXPECT_EQ(state.viewAngle[0], 45);
        EXPECT_EQ(cube().scrambleLeft, 0);
        // Solved: every outer sticker of the down layer shows yellow.
        for (int32_t j = 0; j < expected; ++j)
            for (int32_t k = 0; k < expected; ++k) EXPECT_EQ(slotSticker(cube(), 0, j, k, 0), 14);
    }
}

TEST_F(cubesolveProgram, KeysThatDoNothing) {
    resizeCube(4);
    const Snapshot before = snapshot();
    const int64_t frames = state.probe.framesRun;
    for (uint8_t key : {uint8_t('r'), uint8_t('A'), uint8_t('M'), uint8_t('R'), uint8_t('S'), uint8_t('k'),
                        uint8_t(107), uint8_t(0), uint8_t(200)})
        EXPECT_TRUE(actOnKey(key)) << int(key);
    EXPECT_TRUE(unchangedSince(before));
    EXPECT_EQ(state.probe.framesRun, frames);
    EXPECT_EQ(cube().gridSize, 4);
    EXPECT_EQ(cube().scrambleLeft, 0);
    EXPECT_FALSE(actOnKey(keyEscape));
}

TEST_F(cubesolveProgram, ScrambleKeyGivesThirtyTurnsOnePerRound) {
    ASSERT_TRUE(actOnKey(keyLetters.scramble));
    for (int32_t round = 1; round <= 30; ++round) {
        const int64_t start = state.probe.framesRun;
        ASSERT_TRUE(runFrame());
        EXPECT_EQ(state.probe.framesRun - start, 18) << "round " << round;
        EXPECT_EQ(cube().scrambleLeft, 30 - round);
    }
    const int64_t start = state.probe.framesRun;
    runFrame();
    EXPECT_EQ(state.probe.framesRun - start, 1) << "after the scramble a round is one frame";
}

// A pattern played while a scramble is under way (m pressed between two of its rounds) turns only its own letters:
// the scramble's turns wait for the rounds after it.
TEST_F(cubesolveProgram, APatternDuringAScrambleTakesNoneOfItsTurns) {
    ASSERT_TRUE(actOnKey(keyLetters.scramble));
    ASSERT_TRUE(runFrame());
    const int64_t start = state.probe.framesRun;
    playPatternNumber(5);  // "IJij": four quarter turns
    EXPECT_EQ(state.probe.framesRun - start, 4 * 18);
    EXPECT_EQ(cube().scrambleLeft, 29);
    ASSERT_TRUE(runFrame());
    EXPECT_EQ(cube().scrambleLeft, 28);
}

TEST_F(cubesolveProgram, ViewDragTurnsOneDegreePerCellAndNeverOverflows) {
    state.pointer.buttons = 2;
    state.pointer.previousX = 100, state.pointer.mouseX = 110;  // 20 pixels to the right
    state.pointer.previousY = 50, state.pointer.mouseY = 47;
    viewDrag();
    EXPECT_EQ(state.viewAngle[0], 55);
    EXPECT_EQ(state.viewAngle[1], 42);
    EXPECT_EQ(state.viewAngle[2], 90);
    // However far the view is dragged the angles stay whole degrees 0 to 359, the same turn modulo a circle.
    int64_t total = state.viewAngle[0];
    state.pointer.previousX = 0, state.pointer.mouseX = 319, state.pointer.previousY = 0, state.pointer.mouseY = 0;
    for (int n = 0; n < 100000; ++n) {
        viewDrag();
        total += 319;
        ASSERT_GE(state.viewAngle[0], 0);
        ASSERT_LT(state.viewAngle[0], 360);
    }
    EXPECT_EQ(state.viewAngle[0], total % 360);
    state.pointer.buttons = 3;  // both buttons: not a view drag
    viewDrag();
    EXPECT_EQ(state.viewAngle[0], total % 360);
}

TEST_F(cubesolveProgram, DragsThatChooseNoTurnStillEnd) {
    const int32_t n = cube().gridSize;
    struct Case {
        const char* what;
        int32_t startSlot, startFace, endSlot;
        bool period;  // a turn period runs (possibly moving nothing)
        bool moves;
    };
    const int32_t upCentre = cubie::slotNumber(n, 2, 1, 1);
    const Case cases[] = {
        {"release on the pressed cubie", upCentre, 3, upCentre, false, false},
        {"x side, only i differs: no axis", upCentre, 3, cubie::slotNumber(n, 1, 1, 1), true, false},
        {"up side towards the front", upCentre, 3, cubie::slotNumber(n, 2, 2, 1), true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        resizeCube(3);
        const Snapshot before = snapshot();
        state.pickedCubie = c.startSlot, state.pickedFace = c.startFace;
        state.pointer.previousButtons = 0, state.pointer.buttons = 1;
        dragGesture();
        state.pickedCubie = c.endSlot, state.pickedFace = 0;
        state.pointer.previousButtons = 1, state.pointer.buttons = 0;
        dragGesture();
        EXPECT_EQ(cube().turning, c.period);
        const int64_t start = state.probe.framesRun;
        playRound();
        EXPECT_EQ(state.probe.framesRun - start, c.period ? 18 : 1);
        EXPECT_EQ(!unchangedSince(before), c.moves);
    }
}

TEST_F(cubesolveProgram, ATurnWithStepZeroStillEnds) {
    const int64_t start = state.probe.framesRun;
    playTurn(0, 0, 0);
    EXPECT_FALSE(cube().turning);
    EXPECT_EQ(state.probe.framesRun - start, 18);
}

// Cubes that no sequence of turns reaches: the stages that cannot finish them must give up, not turn for ever.
TEST_F(cubesolveProgram, SolverEndsOnCubesItCannotFinish) {
    struct Case {
        const char* what;
        void (*spoil)();
    };
    const Case cases[] = {
        {"one up corner twisted",
         [] {
             paintSticker(2, 2, 2, 0, 12);
             paintSticker(2, 2, 2, 1, 2);
             paintSticker(2, 2, 2, 2, 15);
         }},
        {"one up edge flipped",
         [] {
             paintSticker(2, 2, 1, 0, 12);
             paintSticker(2, 2, 1, 1, 15);
         }},
        {"two up corners swapped",
         [] {
             paintSticker(2, 2, 2, 1, 13);
             paintSticker(2, 0, 2, 1, 12);
         }},
        {"one middle edge flipped",
         [] {
             paintSticker(1, 2, 2, 1, 2);
             paintSticker(1, 2, 2, 2, 12);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        resizeCube(3);
        c.spoil();
        state.probe.lettersPlayed = 0;
        solveCube();
        EXPECT_FALSE(cube().turning);
        // Seven stages of at most maxPasses passes, each pass a few dozen letters at most.
        EXPECT_LT(state.probe.lettersPlayed, 7 * maxPasses * 80);
    }
    // Two swapped corners make no move in their stage: the eight whole-cube turns of stages 1 and 2 are all.
    resizeCube(3);
    cases[2].spoil();
    state.probe.lettersPlayed = 0;
    solveCube();
    EXPECT_EQ(state.probe.lettersPlayed, 24);
}

}  // namespace
