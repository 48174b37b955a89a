// Sticker colours, turns and the drag rule, checked against the puzzle's rules rather than against the code.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "puzzle.h"

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
    seedRandom(seed);
    for (int32_t i = 0; i < 30; ++i) scrambleStep(c);
    return c;
}

Colours turned(Colours c, int32_t move, std::initializer_list<int32_t> counts) {
    for (int32_t k : counts) turn(c, move, k);
    return c;
}

TEST(TetragirPuzzle, TablesTogetherListEveryStickerOfALayerOnce) {
    for (int32_t v = 0; v < cornerCount; ++v) {
        std::set<int32_t> tip(std::begin(tipCycle[v]), std::end(tipCycle[v])), layers = tip;
        for (const auto& row : middleBand[v]) layers.insert(std::begin(row), std::end(row));
        EXPECT_EQ(layers.size(), 12u) << "corner " << v << ": tip and middle band overlap";
        for (const auto& row : sideBand[v]) layers.insert(std::begin(row), std::end(row));
        for (const auto& row : baseCycle[v]) layers.insert(std::begin(row), std::end(row));
        EXPECT_EQ(layers.size(), 36u) << "corner " << v << ": the three layers do not cover the puzzle once";
        for (const auto& row : baseCycle[v])
            for (int32_t s : row) EXPECT_EQ(s / placesPerFace, 3 - v) << "corner " << v << ": base sticker " << s;
    }
}

TEST(TetragirPuzzle, CountsAreThirdsOfATurn) {
    for (int32_t m = 0; m < moveCount; ++m) {
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

TEST(TetragirPuzzle, EachKindOfMoveCarriesItsLayer) {
    const size_t carried[3] = {3, 12, 24};
    for (int32_t m = 0; m < moveCount; ++m) {
        Colours after = turned(labels(), m, {1});
        size_t moved = 0;
        for (int32_t i = 0; i < stickerCount; ++i) moved += after[i] != i;
        EXPECT_EQ(moved, carried[m / 4]) << "move " << m;
        // On a solved puzzle the base face turns within itself and keeps its colour.
        if (m >= 8) {
            Colours c = turned([] { Colours s; resetColours(s); return s; }(), m, {1});
            int32_t base = 3 - m % 4;
            for (int32_t p = 0; p < placesPerFace; ++p)
                EXPECT_EQ(c[9 * base + p], base) << "move " << m << ", place " << p;
        }
    }
}

TEST(TetragirPuzzle, TipOfCornerZeroGoesFromFaceToFace) {
    Colours c = turned(labels(), 0, {1});
    EXPECT_EQ(c[9], 0);
    EXPECT_EQ(c[18], 9);
    EXPECT_EQ(c[0], 18);
    // After move 4, sticker 2's colour stands on sticker 11.
    EXPECT_EQ(turned(labels(), 4, {1})[11], 2);
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

TEST(TetragirPuzzle, DragRuleExamples) {
    struct Case {
        const char* name;
        int32_t from, to;
        Move expected;
    };
    const Case cases[] = {
        {"tip 0 onto tip 9", 0, 9, {0, 1}},
        {"tip 18 onto tip 0", 18, 0, {0, 1}},
        {"tip 9 onto tip 0", 9, 0, {0, 2}},
        {"tip 0 onto tip 18", 0, 18, {0, 2}},
        {"tip 31 onto tip 26", 31, 26, {3, 1}},
        {"band 2 onto 1", 2, 1, {4, 1}},
        {"band 1 onto 2", 1, 2, {4, 2}},
        {"facing edge middles 19 onto 3", 19, 3, {0, 0}},
        {"facing edge middles 1 onto 12", 1, 12, {0, 0}},
        {"facing edge middles 12 onto 1", 12, 1, {0, 0}},
        {"facing edge middles 3 onto 19", 3, 19, {0, 0}},
        {"two apart in the band of corner 1, 28 onto 30", 28, 30, {0, 0}},
        {"band 30 onto 29", 30, 29, {5, 1}},
        {"facing edge middles 6 onto 30", 6, 30, {0, 0}},
        {"tip onto a band sticker", 0, 1, {0, 0}},
        {"far apart", 1, 31, {0, 0}},
        {"tips of different corners", 0, 35, {0, 0}},
        {"from nothing", -1, 5, {0, 0}},
        {"onto nothing", 5, -1, {0, 0}},
        {"onto itself", 9, 9, {0, 0}},
    };
    for (const Case& c : cases) {
        Move got = moveFromDrag(c.from, c.to);
        EXPECT_EQ(got.count, c.expected.count) << c.name;
        if (c.expected.count != 0) {
            EXPECT_EQ(got.move, c.expected.move) << c.name;
        }
    }
}

// A tip drag carries the colour of `from` exactly onto `to`; a band drag carries it one sticker of the band
// towards `to`, a third of the way round.
TEST(TetragirPuzzle, DraggedColourGoesTheWayOfTheDrag) {
    for (int32_t v = 0; v < cornerCount; ++v)
        for (int32_t c = 0; c < 3; ++c)
            for (int32_t d : {1, 2}) {
                int32_t from = tipCycle[v][c], to = tipCycle[v][(c + d) % 3];
                Move m = moveFromDrag(from, to);
                ASSERT_NE(m.count, 0) << from << " onto " << to;
                EXPECT_EQ(turned(labels(), m.move, {m.count})[to], from) << from << " onto " << to;
            }
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
    seedRandom(3);
    Colours expected = labels();
    for (int32_t v = 0; v < cornerCount; ++v) turn(expected, v, randomBelow(3));
    int32_t count = 1 + randomBelow(2);
    turn(expected, 4 + randomBelow(4), count);
    seedRandom(3);
    Colours step = labels();
    scrambleStep(step);
    EXPECT_EQ(step, expected);
}

TEST(TetragirPuzzle, RandomStaysInRangeAndReachesEveryValue) {
    seedRandom(11);
    for (int32_t n : {1, 2, 3, 4}) {
        std::set<int32_t> seen;
        for (int32_t i = 0; i < 200; ++i) {
            int32_t r = randomBelow(n);
            ASSERT_GE(r, 0);
            ASSERT_LT(r, n);
            seen.insert(r);
        }
        EXPECT_EQ(seen.size(), static_cast<size_t>(n)) << "n = " << n;
    }
    EXPECT_EQ(randomBelow(0), 0);
}

}  // namespace
}  // namespace tetragir
