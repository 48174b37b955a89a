// Sticker colours, turns and the drag rule, checked against the puzzle's rules rather than against the code.
#include <gtest/gtest.h>

#include <algorithm>

#include "play/random.h"
#include "tetragir/puzzle.h"

namespace tetragir {
namespace {

// Every sticker labelled with its own number, so a turn shows where each sticker's content went.
Colours labels() {
    Colours c;
    for (int32_t i = 0; i < stickerCount; ++i) c[i] = i;
    return c;
}

Colours scrambled(uint32_t seed) {
    Colours c;
    resetColours(c);
    uint64_t random = 0;
    play::seedRandom(random, seed);
    for (int32_t i = 0; i < 30; ++i) scrambleStep(c, random);
    return c;
}

Colours turned(Colours c, int32_t move, std::initializer_list<int32_t> counts) {
    for (int32_t k : counts) turn(c, move, k);
    return c;
}

TEST(TetragirPuzzle, CountsAreThirdsOfATurn) {
    for (int32_t m = 0; m < layerCount; ++m) {
        Colours start = scrambled(100 + m);
        EXPECT_EQ(turned(start, m, {0}), start) << "move " << m << ": count 0";
        EXPECT_EQ(turned(start, m, {3}), start) << "move " << m << ": count 3";
        EXPECT_EQ(turned(labels(), m, {1, 1, 1}), labels()) << "move " << m << ": three thirds";
        EXPECT_EQ(turned(labels(), m, {1, 2}), labels()) << "move " << m << ": 1 then 2";
        EXPECT_EQ(turned(labels(), m, {2}), turned(labels(), m, {1, 1})) << "move " << m;
        EXPECT_EQ(turned(labels(), m, {-1}), turned(labels(), m, {2})) << "move " << m << ": -1 is 2";
        EXPECT_EQ(turned(labels(), m, {4}), turned(labels(), m, {1})) << "move " << m;
    }
}

// A tip with its middle layer, then the layer at the opposite face, the same way: the whole puzzle turns a third,
// so every face is one colour again, and no face keeps its own.
TEST(TetragirPuzzle, BothLayersOfACornerTurnTheWholePuzzle) {
    for (int32_t v = 0; v < cornerCount; ++v) {
        Colours c;
        resetColours(c);
        turn(c, 4 + v, 1);
        turn(c, 8 + v, 1);
        for (int32_t f = 0; f < faceCount; ++f) {
            for (int32_t p = 1; p < placesPerFace; ++p)
                EXPECT_EQ(c[9 * f + p], c[9 * f]) << "corner " << v << ", face " << f << " place " << p;
            if (f != 3 - v) {
                EXPECT_NE(c[9 * f], f) << "corner " << v << ", face " << f << " kept its colour";
            }
        }
    }
}

// Which pairs of stickers turn what is tied to the geometry elsewhere; a pointer over no sticker, or a drag that
// has not left its sticker, turns nothing.
TEST(TetragirPuzzle, NoStickerOrTheSameStickerTurnsNothing) {
    const int32_t pairs[][2] = {{-1, 5}, {5, -1}, {-1, -1}, {9, 9}};
    for (const auto& p : pairs) EXPECT_EQ(moveFromDrag(p[0], p[1]).count, 0) << p[0] << " onto " << p[1];
}

TEST(TetragirPuzzle, ScrambleIsRepeatableAndKeepsNineOfEachColour) {
    EXPECT_EQ(scrambled(7), scrambled(7));
    EXPECT_NE(scrambled(7), scrambled(8));
    Colours c = scrambled(9);
    for (int32_t colour = 0; colour < faceCount; ++colour)
        EXPECT_EQ(std::count(c.begin(), c.end(), colour), placesPerFace) << "colour " << colour;
    Colours solved;
    resetColours(solved);
    EXPECT_NE(c, solved);
    // One step: each tip by randomBelow(3) thirds in corner order, then a count and after it a corner of a tip with
    // its middle layer.
    uint64_t random = 0;
    play::seedRandom(random, 3);
    Colours expected = labels();
    for (int32_t v = 0; v < cornerCount; ++v) turn(expected, v, play::randomBelow(random, 3));
    int32_t count = 1 + play::randomBelow(random, 2);
    turn(expected, 4 + play::randomBelow(random, 4), count);
    play::seedRandom(random, 3);
    Colours step = labels();
    scrambleStep(step, random);
    EXPECT_EQ(step, expected);
}

}  // namespace
}  // namespace tetragir
