// The cubie model: build, home positions, turn lengths, re-filing and scramble.
#include <map>

#include "cubie/settle_plain.h"
#include "tests/cubie/test_support.h"

namespace cubie_test {
namespace {

struct Shape {
    const char* name;
    int32_t n, dx, dy, dz;
};

// Every used record names distinct corners of one face of one cubie inside the cuboid, every cubie carries exactly
// one facet per face (two triangles per face), every used point sits at its home, and unused records are zero.
template <CubieConfig C>
void expectSoundState(const Model<C>& m) {
    const int32_t n = m.gridSize;
    const int32_t perFace = C.shape == FacetShape::quad ? 1 : 2;
    std::map<int32_t, int32_t> perSlotFace;
    for (const auto& f : m.facets) {
        if (f.colour == 0) {
            for (int32_t c = 0; c < f.corners; ++c) ASSERT_EQ(f.vertex[c], 0) << "unused record not zero";
            continue;
        }
        const int32_t slot = facetSlot(f), face = facetFace(f);
        ASSERT_TRUE(slotInside(m.dims, n, slot)) << "facet of slot " << slot << " outside the cuboid";
        ASSERT_GE(face, 0) << "facet corners not on one face of slot " << slot;
        ++perSlotFace[slot * 6 + face];
    }
    int32_t cubies = 0;
    for (int32_t s = 0; s < n * n * n; ++s) {
        if (!slotInside(m.dims, n, s)) continue;
        ++cubies;
        int32_t at[3];
        slotCoordinates(n, s, at);
        for (int32_t face = 0; face < 6; ++face)
            ASSERT_EQ(perSlotFace[s * 6 + face], perFace) << "slot " << s << " face " << face;
        for (int32_t q = 0; q < 8; ++q) {
            double home[3];
            homePosition(m, at[0], at[1], at[2], q, home);
            for (int32_t a = 0; a < 3; ++a)
                ASSERT_NEAR(m.worldVertex[s * 8 + q][a], home[a], 1e-6) << "slot " << s << " corner " << q;
        }
    }
    ASSERT_EQ(static_cast<int32_t>(perSlotFace.size()), cubies * 6);
}

template <CubieConfig C>
std::map<int32_t, int32_t> colourCounts(const Model<C>& m) {
    std::map<int32_t, int32_t> counts;
    for (const auto& f : m.facets) ++counts[f.colour];
    return counts;
}

// A fresh build: used records densely from 0, the outer ones coloured by their side and lying on the cuboid's
// surface, the rest inner grey, all later records zero.
template <CubieConfig C>
void expectFreshBuild(const Shape& shape, int32_t expectedUsed) {
    SCOPED_TRACE(shape.name);
    auto m = built<C>(shape.n, shape.dx, shape.dy, shape.dz);
    expectSoundState(*m);
    const int32_t perFace = C.shape == FacetShape::quad ? 1 : 2;
    const int32_t d[3] = {shape.dx, shape.dy, shape.dz};
    const int32_t cell = C.span / shape.n;
    int32_t used = 0, outer[6] = {}, inner = 0;
    for (int32_t r = 0; r < Model<C>::recordCount; ++r) {
        const auto& f = m->facets[r];
        if (f.colour == 0) continue;
        ASSERT_EQ(r, used) << "records are not filled densely from 0";
        ++used;
        if (f.colour == innerColour) {
            ++inner;
            continue;
        }
        const int32_t face = facetFace(f);
        ASSERT_EQ(f.colour, C.faceColours[face]) << "record " << r;
        ++outer[face];
        // The face's normal axis and side: 0 +z, 1 -z, 2 -x, 3 +x, 4 -y, 5 +y.
        const int32_t axis = face < 2 ? 2 : face < 4 ? 0 : 1;
        const double side = (face == 0 || face == 3 || face == 5) ? 1 : -1;
        for (int32_t c = 0; c < f.corners; ++c)
            ASSERT_EQ(m->worldVertex[f.vertex[c]][axis], side * (d[axis] * cell / 2.0 - C.inset)) << "record " << r;
    }
    EXPECT_EQ(used, expectedUsed);
    const int32_t side[6] = {d[0] * d[1], d[0] * d[1], d[1] * d[2], d[1] * d[2], d[0] * d[2], d[0] * d[2]};
    for (int32_t face = 0; face < 6; ++face) EXPECT_EQ(outer[face], side[face] * perFace) << "face " << face;
    int32_t outerAll = 0;
    for (int32_t face = 0; face < 6; ++face) outerAll += outer[face];
    EXPECT_EQ(inner, expectedUsed - outerAll);
}

TEST(CubieBuild, FreshPuzzlesOfEveryVariant) {
    expectFreshBuild<cuboidAConfig>({"a 6-cube", 6, 6, 6, 6}, 1296);
    expectFreshBuild<cuboidAConfig>({"a 3-cube", 3, 3, 3, 3}, 162);
    expectFreshBuild<cuboidBConfig>({"b 6x6x3", 6, 6, 6, 3}, 648);
    expectFreshBuild<cuboidAConfig>({"a 2x2x1 slab", 2, 2, 2, 1}, 24);
    expectFreshBuild<cuboidCConfig>({"c 6-cube", 6, 6, 6, 6}, 2592);
    expectFreshBuild<cuboidCConfig>({"c 4x1x3", 4, 4, 1, 3}, 144);
    expectFreshBuild<largeGridConfig>({"large 10-cube", 10, 10, 10, 10}, 6000);
    expectFreshBuild<largeGridConfig>({"large 2-cube", 2, 2, 2, 2}, 48);
    expectFreshBuild<largeGridConfig>({"large 7x6x6", 7, 7, 6, 6}, 1512);
    expectFreshBuild<halfSpanConfig>({"half span 5-cube", 5, 5, 5, 5}, 1500);
    expectFreshBuild<halfSpanConfig>({"half span 3-cube", 3, 3, 3, 3}, 324);
}

TEST(CubieBuild, StartCubeCountsOuterAndInnerFacets) {
    auto a = built<cuboidAConfig>(6, 6, 6, 6);
    auto counts = colourCounts(*a);
    for (int32_t colour : {15, 14, 2, 9, 12, 13}) EXPECT_EQ(counts[colour], 36) << "colour " << colour;
    EXPECT_EQ(counts[8], 1080);
    auto d = built<largeGridConfig>(10, 10, 10, 10);
    counts = colourCounts(*d);
    for (int32_t colour : {12, 13, 9, 2, 15, 14}) EXPECT_EQ(counts[colour], 100) << "colour " << colour;
    EXPECT_EQ(counts[8], 5400);
}

// Home corners worked out by hand from the cell pitch 240 div N, the inset and the centring of a cuboid.
TEST(CubieBuild, HomePositions) {
    struct Case {
        const char* name;
        int32_t n, dx, dy, dz, i, j, k, q;
        double x, y, z;
    } const cases[] = {
        {"6-cube first corner", 6, 6, 6, 6, 0, 0, 0, 0, -118, -118, -118},
        {"6-cube far corner of first cubie", 6, 6, 6, 6, 0, 0, 0, 7, -82, -82, -82},
        {"6-cube last corner", 6, 6, 6, 6, 5, 5, 5, 7, 118, 118, 118},
        {"2-cube centre-side corner", 2, 2, 2, 2, 0, 1, 0, 1, -2, 2, -118},
        {"6x6x3 cuboid sits centred in z", 6, 6, 6, 3, 0, 0, 0, 0, -118, -118, -58},
        {"5x4x5 cuboid, cell 48", 5, 5, 4, 5, 0, 3, 0, 2, -118, 94, -118},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto m = built<cuboidAConfig>(c.n, c.dx, c.dy, c.dz);
        double p[3];
        homePosition(*m, c.i, c.j, c.k, c.q, p);
        EXPECT_EQ(p[0], c.x);
        EXPECT_EQ(p[1], c.y);
        EXPECT_EQ(p[2], c.z);
    }
    auto d = built<largeGridConfig>(10, 10, 10, 10);
    double p[3];
    homePosition(*d, 0, 0, 0, 1, p);
    EXPECT_EQ(p[0], -97);  // -120 + 24 - 1: the large grid insets by 1
    EXPECT_EQ(p[1], -119);
    // Half the span: (i + b) * (120 div N) - 60, inset 2.
    struct HalfCase {
        const char* name;
        int32_t n, i, j, k, q;
        double x, y, z;
    } const halfCases[] = {
        {"3-cube first corner", 3, 0, 0, 0, 0, -58, -58, -58},
        {"3-cube last corner", 3, 2, 2, 2, 7, 58, 58, 58},
        {"4-cube, cell 30", 4, 1, 2, 3, 1, -2, 2, 32},
        {"5-cube, cell 24", 5, 4, 0, 2, 6, 38, -38, 10},
    };
    for (const HalfCase& c : halfCases) {
        SCOPED_TRACE(c.name);
        auto h = built<halfSpanConfig>(c.n, c.n, c.n, c.n);
        homePosition(*h, c.i, c.j, c.k, c.q, p);
        EXPECT_EQ(p[0], c.x);
        EXPECT_EQ(p[1], c.y);
        EXPECT_EQ(p[2], c.z);
    }
}

// Every grid of cube3d, also N = 7 and 9 where 240 is not a multiple of N, is centred: a turn about an axis through
// the origin must carry homes onto homes.
TEST(CubieBuild, EveryGridIsCentredWithWholeCoordinates) {
    for (int32_t n = 2; n <= 10; ++n)
        for (int32_t d = 1; d <= n; ++d) {
            auto m = built<largeGridConfig>(n, n, d, n);
            double low[3] = {1e9, 1e9, 1e9}, high[3] = {-1e9, -1e9, -1e9};
            for (int32_t s = 0; s < n * n * n; ++s) {
                if (!slotInside(m->dims, n, s)) continue;
                for (int32_t q = 0; q < 8; ++q)
                    for (int32_t a = 0; a < 3; ++a) {
                        const double v = m->worldVertex[s * 8 + q][a];
                        ASSERT_EQ(v, std::round(v)) << "N " << n;
                        low[a] = std::min(low[a], v), high[a] = std::max(high[a], v);
                    }
            }
            for (int32_t a = 0; a < 3; ++a) EXPECT_EQ(low[a], -high[a]) << "N " << n << " dims y " << d;
        }
}

TEST(CubieTurn, TurnLengthFollowsTheCrossSection) {
    struct Case {
        const char* name;
        int32_t n, dx, dy, dz, axis, expectedFrames;
    } const cases[] = {
        {"cube, x", 6, 6, 6, 6, 0, 18},
        {"cube, z", 6, 6, 6, 6, 2, 18},
        {"6x6x3 about x: 6 by 3", 6, 6, 6, 3, 0, 36},
        {"6x6x3 about y: 3 by 6", 6, 6, 6, 3, 1, 36},
        {"6x6x3 about z: 6 by 6", 6, 6, 6, 3, 2, 18},
        {"2x2x1 slab about x", 2, 2, 2, 1, 0, 36},
        {"2x2x1 slab about y", 2, 2, 2, 1, 1, 36},
        {"2x2x1 slab about z", 2, 2, 2, 1, 2, 18},
        {"no axis on a cube", 6, 6, 6, 6, -1, 18},
        {"no axis, x differs from z", 6, 6, 6, 3, -1, 36},
        {"no axis, x equals z", 6, 6, 3, 6, -1, 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto m = built<cuboidAConfig>(c.n, c.dx, c.dy, c.dz);
        startTurn(*m, c.axis, c.axis < 0 ? -1 : 0, 1);
        EXPECT_EQ(runTurn(*m), c.expectedFrames);
        expectSoundState(*m);
    }
    struct Case3d {
        const char* name;
        int32_t dx, dy, dz, axis, expectedFrames;
    } const cases3d[] = {
        {"10-cube quarter", 10, 10, 10, 0, 90},    {"10x10x9 about z", 10, 10, 9, 2, 90},
        {"10x10x9 about x", 10, 10, 9, 0, 180},    {"10x10x9 about y", 10, 10, 9, 1, 180},
        {"no axis on a cube", 10, 10, 10, -1, 90}, {"no axis, x differs from z", 10, 10, 9, -1, 180},
    };
    for (const Case3d& c : cases3d) {
        SCOPED_TRACE(c.name);
        auto m = built<largeGridConfig>(10, c.dx, c.dy, c.dz);
        startTurn(*m, c.axis, c.axis < 0 ? -1 : 9, -1);
        EXPECT_EQ(runTurn(*m), c.expectedFrames);
        expectSoundState(*m);
    }
}

TEST(CubieTurn, NoAxisMovesNothing) {
    auto m = built<cuboidCConfig>(6, 6, 6, 3);
    auto before = std::make_unique<Model<cuboidCConfig>>(*m);
    startTurn(*m, -1, -1, 1);
    for (int32_t frame = 0; frame < 35; ++frame) {
        updateTurnTarget(*m);
        stepTurn(*m);
        ASSERT_TRUE(m->turning) << "frame " << frame;
    }
    stepTurn(*m);
    EXPECT_FALSE(m->turning);
    EXPECT_EQ(std::memcmp(m->worldVertex, before->worldVertex, sizeof m->worldVertex), 0);
    EXPECT_EQ(std::memcmp(m->facets, before->facets, sizeof m->facets), 0);
}

// The first or last layer turned before anything else moves exactly that layer's points, and afterwards only the
// facets of that layer's cubies name other indices.
TEST(CubieTurn, OnlyTheTurnedLayerMoves) {
    struct Case {
        const char* name;
        int32_t axis, layer;
    } const cases[] = {{"first x layer", 0, 0}, {"last x layer", 0, 5},  {"first y layer", 1, 0},
                       {"last y layer", 1, 5},  {"first z layer", 2, 0}, {"last z layer", 2, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto m = built<cuboidBConfig>(6, 6, 6, 3);
        auto before = std::make_unique<Model<cuboidBConfig>>(*m);
        startTurn(*m, c.axis, c.layer, 1);
        updateTurnTarget(*m);
        stepTurn(*m);
        for (int32_t s = 0; s < 216; ++s) {
            if (!slotInside(m->dims, 6, s)) continue;
            int32_t at[3];
            slotCoordinates(6, s, at);
            const bool inLayer = at[c.axis] == c.layer;
            for (int32_t q = 0; q < 8; ++q) {
                const bool moved = std::memcmp(m->worldVertex[s * 8 + q], before->worldVertex[s * 8 + q], 24) != 0;
                ASSERT_EQ(moved, inLayer) << "slot " << s << " corner " << q;
            }
        }
        runTurn(*m);
        int32_t changed = 0;
        for (int32_t r = 0; r < Model<cuboidBConfig>::recordCount; ++r) {
            const auto& f = before->facets[r];
            if (f.colour == 0) continue;
            int32_t at[3];
            slotCoordinates(6, facetSlot(f), at);
            const bool same = std::memcmp(&f, &m->facets[r], sizeof f) == 0;
            if (at[c.axis] != c.layer) {
                ASSERT_TRUE(same) << "record " << r << " outside the layer changed";
            }
            changed += !same;
        }
        EXPECT_GT(changed, 0);
        expectSoundState(*m);
    }
}

template <CubieConfig C>
void expectInverseRestores(const Shape& shape) {
    SCOPED_TRACE(shape.name);
    auto m = built<C>(shape.n, shape.dx, shape.dy, shape.dz);
    const int32_t d[3] = {shape.dx, shape.dy, shape.dz};
    for (int32_t axis = 0; axis < 3; ++axis)
        for (int32_t layer : {0, d[axis] / 2, d[axis] - 1}) {
            SCOPED_TRACE(testing::Message() << "axis " << axis << " layer " << layer);
            for (int32_t sense : {1, -1}) {
                auto before = std::make_unique<Model<C>>(*m);
                turnAndFinish(*m, axis, layer, sense);
                ASSERT_NE(std::memcmp(m->facets, before->facets, sizeof m->facets), 0) << "the turn changed nothing";
                turnAndFinish(*m, axis, layer, -sense);
                ASSERT_EQ(std::memcmp(m->facets, before->facets, sizeof m->facets), 0);
                for (int32_t v = 0; v < Model<C>::vertexCount; ++v)
                    for (int32_t a = 0; a < 3; ++a)
                        ASSERT_NEAR(m->worldVertex[v][a], before->worldVertex[v][a], 1e-9) << "vertex " << v;
            }
        }
}

TEST(CubieTurn, ATurnAndItsInverseRestorePointsAndIndices) {
    expectInverseRestores<cuboidAConfig>({"a 6-cube", 6, 6, 6, 6});
    expectInverseRestores<cuboidBConfig>({"b 6x6x3", 6, 6, 6, 3});
    expectInverseRestores<cuboidCConfig>({"c 5x2x4", 5, 5, 2, 4});
    expectInverseRestores<largeGridConfig>({"large 7x7x4", 7, 7, 7, 4});
}

TEST(CubieTurn, FourQuarterTurnsAreTheIdentity) {
    auto m = built<cuboidCConfig>(4, 4, 4, 4);
    auto before = std::make_unique<Model<cuboidCConfig>>(*m);
    for (int32_t turn = 0; turn < 4; ++turn) {
        turnAndFinish(*m, 1, 2, -1);
        if (turn < 3) {
            ASSERT_NE(std::memcmp(m->facets, before->facets, sizeof m->facets), 0);
        }
    }
    EXPECT_EQ(std::memcmp(m->facets, before->facets, sizeof m->facets), 0);
}

// Random turns on many shapes: after every turn the state is sound, the colours are the same multiset, and the
// one-pass re-filing gives exactly what the point-by-point rule gives.
template <CubieConfig C>
void expectRandomTurnsSound(const Shape& shape, int32_t turns, bool compareWithReference) {
    SCOPED_TRACE(shape.name);
    auto m = built<C>(shape.n, shape.dx, shape.dy, shape.dz);
    auto reference = std::make_unique<Model<C>>();
    const auto colours = colourCounts(*m);
    seedRandom(*m, 777);
    for (int32_t t = 0; t < turns; ++t) {
        const int32_t axis = randomBelow(*m, 3);
        startTurn(*m, axis, randomBelow(*m, m->dims[axis]), randomBelow(*m, 2) ? 1 : -1);
        SCOPED_TRACE(testing::Message() << "turn " << t << " axis " << m->turnAxis << " layer " << m->turnLayer);
        while (m->turning) {
            updateTurnTarget(*m);
            if (compareWithReference && std::abs(m->turnAngle + m->turnStep) >= m->turnTarget) {
                // The final step: the reference takes the same rotation, then re-files the plain way.
                *reference = *m;
                reference->turnAngle = 0;
                stepTurn(*reference);
                settleTurnPlain(*reference);
            }
            stepTurn(*m);
        }
        if (compareWithReference) {
            ASSERT_EQ(std::memcmp(m->worldVertex, reference->worldVertex, sizeof m->worldVertex), 0);
            for (int32_t r = 0; r < Model<C>::recordCount; ++r)
                if (m->facets[r].colour != 0) {
                    ASSERT_EQ(std::memcmp(&m->facets[r], &reference->facets[r], sizeof m->facets[r]), 0)
                        << "record " << r;
                }
        }
        expectSoundState(*m);
        ASSERT_EQ(colourCounts(*m), colours);
    }
}

TEST(CubieTurn, RandomTurnsKeepEveryFacetOnOneFaceOfOneCubie) {
    expectRandomTurnsSound<cuboidAConfig>({"a 6-cube", 6, 6, 6, 6}, 20, true);
    expectRandomTurnsSound<cuboidAConfig>({"a 6x6x3", 6, 6, 6, 3}, 20, true);
    expectRandomTurnsSound<cuboidBConfig>({"b 5x3x4", 5, 5, 3, 4}, 20, true);
    expectRandomTurnsSound<cuboidBConfig>({"b 2x2x1", 2, 2, 2, 1}, 12, true);
    expectRandomTurnsSound<cuboidCConfig>({"c 6-cube", 6, 6, 6, 6}, 15, true);
    expectRandomTurnsSound<cuboidCConfig>({"c 3x1x2", 3, 3, 1, 2}, 12, true);
    expectRandomTurnsSound<largeGridConfig>({"large 4-cube", 4, 4, 4, 4}, 10, true);
    expectRandomTurnsSound<halfSpanConfig>({"half span 3-cube", 3, 3, 3, 3}, 12, true);
    expectRandomTurnsSound<halfSpanConfig>({"half span 5x2x4", 5, 5, 2, 4}, 12, true);
    expectRandomTurnsSound<largeGridConfig>({"large 10x10x9", 10, 10, 10, 9}, 6, false);
    expectRandomTurnsSound<largeGridConfig>({"large 7x6x6", 7, 6, 6, 6}, 8, false);
    expectRandomTurnsSound<largeGridConfig>({"large 9-cube", 9, 9, 9, 9}, 8, false);
}

// Two points at one home cannot be filed as a permutation: re-filing must then change nothing rather than lose a
// point.
TEST(CubieTurn, SettleLeavesAStateItCannotFileAlone) {
    auto m = built<cuboidAConfig>(3, 3, 3, 3);
    homePosition(*m, 0, 0, 1, 3, m->worldVertex[0]);
    auto before = snapshot(*m);
    settleTurn(*m);
    EXPECT_TRUE(sameBytes(*m, *before));
}

TEST(CubieScramble, ThirtyTurnsInTheSenseOfTheLastTurn) {
    auto m = built<cuboidAConfig>(4, 4, 3, 2);
    turnAndFinish(*m, 2, 1, -1);  // the last turn went the negative way
    m->scrambleLeft = 30;
    int32_t started = 0;
    for (int32_t frame = 0; frame < 5000; ++frame) {
        const bool wasTurning = m->turning;
        startRandomTurn(*m);
        if (m->turning && !wasTurning) {
            ++started;
            ASSERT_EQ(m->turnStep, -5);
            ASSERT_GE(m->turnAxis, 0);
            ASSERT_LE(m->turnAxis, 2);
            ASSERT_GE(m->turnLayer, 0);
            ASSERT_LT(m->turnLayer, m->dims[m->turnAxis]);
        }
        updateTurnTarget(*m);
        stepTurn(*m);
    }
    EXPECT_EQ(started, 30);
    EXPECT_EQ(m->scrambleLeft, 0);
    expectSoundState(*m);
}

TEST(CubieScramble, ARunningTurnFinishesBeforeTheScramble) {
    auto m = built<cuboidAConfig>(3, 3, 3, 3);
    startTurn(*m, 0, 2, 1);
    updateTurnTarget(*m);
    stepTurn(*m);
    m->scrambleLeft = 30;
    startRandomTurn(*m);
    EXPECT_EQ(m->scrambleLeft, 30);
    EXPECT_EQ(m->turnAxis, 0);
    EXPECT_EQ(m->turnLayer, 2);
    EXPECT_EQ(m->turnAngle, 5);
}

TEST(CubieBuild, BuildEndsTurnAndScrambleAndResetsTheStep) {
    auto m = built<largeGridConfig>(5, 5, 5, 5);
    startTurn(*m, 1, 3, -1);
    for (int32_t frame = 0; frame < 40; ++frame) stepTurn(*m);
    m->scrambleLeft = 12;
    m->gridSize = 3, m->dims[0] = m->dims[1] = m->dims[2] = 3;
    ASSERT_TRUE(buildPuzzle(*m));
    EXPECT_FALSE(m->turning);
    EXPECT_EQ(m->scrambleLeft, 0);
    EXPECT_EQ(m->turnStep, 1);
    EXPECT_EQ(m->turnTarget, 90);
    EXPECT_EQ(m->turnAngle, 0);
    for (int32_t v = 27 * 8; v < Model<largeGridConfig>::vertexCount; ++v)
        for (int32_t a = 0; a < 3; ++a) ASSERT_EQ(m->worldVertex[v][a], 0) << "vertex " << v;
    expectSoundState(*m);
}

TEST(CubieRandom, CoversTheRangeAndRepeatsWithTheSeed) {
    auto m = std::make_unique<Model<cuboidAConfig>>();
    auto other = std::make_unique<Model<cuboidAConfig>>();
    seedRandom(*m, 99);
    seedRandom(*other, 99);
    int32_t seen[6] = {};
    for (int32_t draw = 0; draw < 6000; ++draw) {
        const int32_t r = randomBelow(*m, 6);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 6);
        ASSERT_EQ(r, randomBelow(*other, 6));
        ++seen[r];
    }
    for (int32_t r = 0; r < 6; ++r) EXPECT_GT(seen[r], 800) << r;
    EXPECT_EQ(randomBelow(*m, 1), 0);
    EXPECT_EQ(randomBelow(*m, 0), 0);
}

}  // namespace
}  // namespace cubie_test
