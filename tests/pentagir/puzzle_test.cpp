// Sticker state and layer turns, checked against the rules of the turn table rather than against the code.
#include <gtest/gtest.h>

#include <set>

#include "pentagir/puzzle.h"
#include "play/random.h"

namespace pentagir {
namespace {

// A scrambled start so that equalities are not satisfied by accident of a solved puzzle.
Colours scrambled(uint32_t seed) {
    Colours c;
    resetColours(c);
    uint64_t random = 0;
    play::seedRandom(random, seed);
    for (int i = 0; i < 40; ++i) scrambleStep(c, random);
    return c;
}

constexpr int32_t oppositeFace[faceCount] = {6, 8, 9, 10, 11, 7, 0, 5, 1, 2, 3, 4};

// Each row's structure follows from the face it turns: its own corners and edges in the stated order, its centre
// last, and the turned face is the one opposite the row's axis face.
TEST(PentagirPuzzle, RowsListTheTurnedFaceOppositeTheAxis) {
    constexpr int32_t cornerOrder[5] = {8, 6, 4, 2, 0};
    constexpr int32_t edgeOrder[5] = {9, 7, 5, 3, 1};
    for (int32_t r = 0; r < faceCount; ++r) {
        int32_t turned = oppositeFace[r];
        for (int32_t j = 0; j < 5; ++j) {
            EXPECT_EQ(turnTable[r][j], 11 * turned + cornerOrder[j]) << "row " << r << " entry " << j;
            EXPECT_EQ(turnTable[r][5 + j], 11 * turned + edgeOrder[j]) << "row " << r << " entry " << 5 + j;
        }
        EXPECT_EQ(turnTable[r][25], 11 * turned + centrePosition) << "row " << r;
        std::set<int32_t> distinct(std::begin(turnTable[r]), std::end(turnTable[r]));
        EXPECT_EQ(distinct.size(), 26u) << "row " << r << " lists a sticker twice";
    }
}

TEST(PentagirPuzzle, TurnCountsFifthsModuloFive) {
    for (int32_t r = 0; r < faceCount; ++r) {
        Colours start = scrambled(100 + r);
        auto after = [&](std::initializer_list<int32_t> ks) {
            Colours c = start;
            for (int32_t k : ks) turn(c, r, k);
            return c;
        };
        EXPECT_EQ(after({0}), start) << "row " << r << ": k = 0 changes nothing";
        EXPECT_EQ(after({5}), start) << "row " << r << ": k = 5 changes nothing";
        EXPECT_EQ(after({-1}), start) << "row " << r << ": a negative k changes nothing";
        EXPECT_EQ(after({-3}), start) << "row " << r << ": a negative k changes nothing";
        EXPECT_NE(after({1}), start) << "row " << r << ": k = 1 changes the scrambled puzzle";
        EXPECT_EQ(after({6}), after({1})) << "row " << r;
        EXPECT_EQ(after({1, 1, 1, 1, 1}), start) << "row " << r << ": five fifths are a whole turn";
        EXPECT_EQ(after({1, 4}), start) << "row " << r;
        EXPECT_EQ(after({2}), after({1, 1})) << "row " << r;
        EXPECT_EQ(after({3}), after({1, 1, 1})) << "row " << r;
        EXPECT_EQ(after({4}), after({1, 1, 1, 1})) << "row " << r;
    }
}

TEST(PentagirPuzzle, TurnOfFaceZeroAxisMovesFaceTwoRowToFaceOne) {
    Colours c;
    resetColours(c);
    turn(c, 6, 1);
    for (int32_t p = 0; p < stickersPerFace; ++p) EXPECT_EQ(c[p], 0) << "face 0 position " << p;
    for (int32_t p : {6, 7, 8}) EXPECT_EQ(c[11 * 1 + p], 2) << "face 1 position " << p;
}

TEST(PentagirPuzzle, OppositeRowsMoveDisjointStickers) {
    for (int32_t r = 0; r < faceCount; ++r) {
        std::set<int32_t> mine(std::begin(turnTable[r]), std::end(turnTable[r]));
        for (int32_t s : turnTable[oppositeFace[r]])
            EXPECT_FALSE(mine.count(s)) << "rows " << r << " and " << oppositeFace[r] << " share sticker " << s;
    }
}

// A scramble step draws the number of fifths first (1 to 4) and the row second (0 to 11), so a seed always
// replays the same scramble.
TEST(PentagirPuzzle, ScrambleStepDrawsTheFifthsThenTheRow) {
    for (uint32_t seed : {1u, 2u, 77u, 4096u}) {
        Colours expected, got;
        resetColours(expected);
        uint64_t random = 0;
        play::seedRandom(random, seed);
        for (int i = 0; i < 20; ++i) {
            int32_t k = 1 + play::randomBelow(random, 4);
            int32_t row = play::randomBelow(random, faceCount);
            turn(expected, row, k);
        }
        resetColours(got);
        play::seedRandom(random, seed);
        for (int i = 0; i < 20; ++i) scrambleStep(got, random);
        EXPECT_EQ(got, expected) << "seed " << seed;
    }
}

TEST(PentagirPuzzle, TurnsKeepElevenOfEachColourAndTheCentres) {
    const Colours c = scrambled(7);
    int32_t count[faceCount] = {};
    for (int32_t colour : c) ++count[colour];
    for (int32_t f = 0; f < faceCount; ++f) {
        EXPECT_EQ(count[f], 11) << "colour " << f;
        EXPECT_EQ(c[11 * f + centrePosition], f) << "centre of face " << f;
    }
}

}  // namespace
}  // namespace pentagir
