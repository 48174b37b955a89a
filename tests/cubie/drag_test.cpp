// The drag-to-turn rule, checked against the geometry it turns: the pressed sticker must move toward the released
// one when the turn it chooses is actually run.
#include <vector>

#include "tests/cubie/test_support.h"

namespace cubie_test {
namespace {

struct Drag {
    const char* name;
    int32_t face;                // face of the pressed sticker: 0 +z, 1 -z, 2 -x, 3 +x, 4 -y, 5 +y
    int32_t from[3], to[3];      // pressed and released cubies (i, j, k) of a 3-cube
    int32_t releaseFace;         // face of the released sticker, for the geometric check
    int32_t axis, layer, sense;  // the turn a player expects
};

// Rotating by a positive angle carries +y to +z about x, +x to +z about y and +x to +y about z; each expected
// sense below follows from the side the sticker is on and the way the drag goes.
const Drag drags[] = {
    {"+z side toward +x", 0, {0, 2, 2}, {1, 2, 2}, 0, 1, 2, -1},
    {"+z side toward -x", 0, {2, 0, 2}, {1, 0, 2}, 0, 1, 0, +1},
    {"+z side toward +y", 0, {0, 1, 2}, {0, 2, 2}, 0, 0, 0, -1},
    {"+z side toward -y", 0, {2, 1, 2}, {2, 0, 2}, 0, 0, 2, +1},
    {"-z side toward +x", 1, {0, 0, 0}, {1, 0, 0}, 1, 1, 0, +1},
    {"-z side toward -x", 1, {2, 2, 0}, {1, 2, 0}, 1, 1, 2, -1},
    {"-z side toward +y", 1, {1, 0, 0}, {1, 1, 0}, 1, 0, 1, +1},
    {"-z side toward -y", 1, {2, 2, 0}, {2, 1, 0}, 1, 0, 2, -1},
    {"-x side toward +y", 2, {0, 0, 1}, {0, 1, 1}, 2, 2, 1, -1},
    {"-x side toward -y", 2, {0, 2, 0}, {0, 1, 0}, 2, 2, 0, +1},
    {"-x side toward +z", 2, {0, 2, 0}, {0, 2, 1}, 2, 1, 2, -1},
    {"-x side toward -z", 2, {0, 0, 2}, {0, 0, 1}, 2, 1, 0, +1},
    {"+x side toward +y", 3, {2, 0, 2}, {2, 1, 2}, 3, 2, 2, +1},
    {"+x side toward -y", 3, {2, 1, 0}, {2, 0, 0}, 3, 2, 0, -1},
    {"+x side toward +z", 3, {2, 1, 1}, {2, 1, 2}, 3, 1, 1, +1},
    {"+x side toward -z", 3, {2, 0, 1}, {2, 0, 0}, 3, 1, 0, -1},
    {"-y side toward +x", 4, {0, 0, 2}, {1, 0, 2}, 4, 2, 2, +1},
    {"-y side toward -x", 4, {1, 0, 0}, {0, 0, 0}, 4, 2, 0, -1},
    {"-y side toward +z", 4, {2, 0, 0}, {2, 0, 1}, 4, 0, 2, -1},
    {"-y side toward -z", 4, {1, 0, 2}, {1, 0, 1}, 4, 0, 1, +1},
    {"+y side toward +x", 5, {0, 2, 1}, {1, 2, 1}, 5, 2, 1, -1},
    {"+y side toward -x", 5, {2, 2, 2}, {1, 2, 2}, 5, 2, 2, +1},
    {"+y side toward +z", 5, {0, 2, 0}, {0, 2, 1}, 5, 0, 0, +1},
    {"+y side toward -z", 5, {2, 2, 1}, {2, 2, 0}, 5, 0, 2, -1},
    {"+z side diagonal: x decides", 0, {0, 0, 2}, {1, 1, 2}, 0, 1, 0, -1},
    {"+z side diagonal toward -x, +y", 0, {2, 0, 2}, {1, 1, 2}, 0, 1, 0, +1},
    {"over the edge from +x onto +z", 3, {2, 1, 1}, {1, 1, 2}, 0, 1, 1, +1},
    {"over the edge from -x onto -y", 2, {0, 1, 2}, {1, 0, 2}, 4, 2, 2, +1},
};

int32_t slotOf(const int32_t at[3]) { return slotNumber(3, at[0], at[1], at[2]); }

TEST(CubieDrag, TableOfDragsOnEverySide) {
    for (const Drag& d : drags) {
        SCOPED_TRACE(d.name);
        const DragTurn turn = turnFromDrag(slotOf(d.from), d.face, slotOf(d.to), 3);
        EXPECT_TRUE(turn.valid);
        EXPECT_EQ(turn.axis, d.axis);
        EXPECT_EQ(turn.layer, d.layer);
        EXPECT_EQ(turn.sense, d.sense);
    }
}

// Record of the sticker on the given face of the given slot.
template <CubieConfig C>
const typename Model<C>::Facet* stickerOf(const Model<C>& m, int32_t slot, int32_t face) {
    for (const auto& f : m.facets)
        if (f.colour != 0 && facetSlot(f) == slot && facetFace(f) == face) return &f;
    return nullptr;
}

template <CubieConfig C>
void expectPressedStickerFollowsTheDrag(const Drag& d, int32_t n, const int32_t from[3], const int32_t to[3]) {
    auto m = built<C>(n, n, n, n);
    const int32_t start = slotNumber(n, from[0], from[1], from[2]), end = slotNumber(n, to[0], to[1], to[2]);
    const auto* pressed = stickerOf(*m, start, d.face);
    const auto* released = stickerOf(*m, end, d.releaseFace);
    ASSERT_TRUE(pressed && released);
    double p0[3], r0[3], p1[3], r1[3];
    facetCentre(*m, *pressed, p0);
    facetCentre(*m, *released, r0);
    const DragTurn turn = turnFromDrag(start, d.face, end, n);
    startTurn(*m, turn.axis, turn.layer, turn.sense);
    updateTurnTarget(*m);
    stepTurn(*m);
    facetCentre(*m, *pressed, p1);
    facetCentre(*m, *released, r1);
    double toward = 0, releasedMoved = 0;
    for (int32_t a = 0; a < 3; ++a) {
        toward += (p1[a] - p0[a]) * (r0[a] - p0[a]);
        releasedMoved += std::fabs(r1[a] - r0[a]);
    }
    EXPECT_GT(toward, 0) << "the pressed sticker does not move toward the released one";
    // Along one side the released cubie shares the turned layer; a diagonal drag leaves it behind.
    const bool diagonal = (from[0] != to[0]) + (from[1] != to[1]) + (from[2] != to[2]) > 1 && d.face == d.releaseFace;
    EXPECT_EQ(releasedMoved > 0, !diagonal) << "the released sticker is not in the turned layer";
    runTurn(*m);
    // After the quarter turn the pressed sticker sits further along the drag than where it started.
    facetCentre(*m, *pressed, p1);
    toward = 0;
    for (int32_t a = 0; a < 3; ++a) toward += (p1[a] - p0[a]) * (r0[a] - p0[a]);
    EXPECT_GT(toward, 0);
}

TEST(CubieDrag, ThePressedStickerMovesTowardTheReleasedOne) {
    for (const Drag& d : drags) {
        SCOPED_TRACE(d.name);
        expectPressedStickerFollowsTheDrag<cuboidAConfig>(d, 3, d.from, d.to);
        expectPressedStickerFollowsTheDrag<cuboidCConfig>(d, 3, d.from, d.to);
    }
}

// The drags along one side, on a 10-cube of cube3d (coordinate 2 of the 3-cube becomes 9, 1 becomes 5).
TEST(CubieDrag, SameRuleOnTheLargeCube) {
    for (const Drag& d : drags) {
        if (d.releaseFace != d.face) continue;
        SCOPED_TRACE(d.name);
        int32_t from[3], to[3];
        for (int32_t a = 0; a < 3; ++a) {
            const int32_t spread[3] = {0, 5, 9};
            from[a] = spread[d.from[a]];
            to[a] = spread[d.to[a]];
            // Neighbours stay neighbours: a step from the middle goes one cell, not four.
            if (d.to[a] != d.from[a] && d.from[a] == 1) to[a] = from[a] + (d.to[a] - d.from[a]);
            if (d.to[a] != d.from[a] && d.to[a] == 1) to[a] = from[a] + (d.from[a] == 0 ? 1 : -1);
        }
        expectPressedStickerFollowsTheDrag<largeGridConfig>(d, 10, from, to);
    }
}

TEST(CubieDrag, DragsThatTurnNoLayer) {
    const int32_t centre = slotNumber(3, 1, 1, 2);
    EXPECT_FALSE(turnFromDrag(centre, 0, centre, 3).valid) << "released on the pressed cubie";
    EXPECT_FALSE(turnFromDrag(centre, 6, slotNumber(3, 2, 1, 2), 3).valid) << "no face";
    EXPECT_FALSE(turnFromDrag(centre, 0, 27, 3).valid) << "slot outside the grid";
    EXPECT_FALSE(turnFromDrag(-1, 0, centre, 3).valid) << "no start";
}

// The gesture frame by frame: a turn comes only from a left-button press that picked a sticker, released over
// another cubie. Each case follows an earlier drag from A to B that turned, whose start must not carry over.
TEST(CubieDrag, OnlyAPressOnAStickerStartsADrag) {
    struct Frame {
        int32_t cubie, face, buttons;  // what the pick found (-1 for nothing) and the layer's mouse bits
    };
    const int32_t a = slotNumber(3, 0, 1, 2), b = slotNumber(3, 1, 1, 2), c = slotNumber(3, 2, 1, 2);
    const Frame earlierDrag[] = {{a, 0, 1}, {b, 0, 1}, {b, 0, 0}, {-1, -1, 0}};
    struct Case {
        const char* name;
        std::vector<Frame> frames;
        bool turns;  // when it does, the layer through B toward C: about y, layer 1, sense -1
    } const cases[] = {
        {"press on a sticker, release on another cubie", {{b, 0, 1}, {c, 0, 1}, {c, 0, 0}}, true},
        {"press over nothing, moved onto the cube, released there", {{-1, -1, 1}, {b, 0, 1}, {c, 0, 0}}, false},
        {"press over nothing, released on the cubie of the last drag's end", {{-1, -1, 1}, {b, 0, 0}}, false},
        {"both buttons, then the left alone, released on the cube",
         {{-1, -1, 2}, {b, 0, 3}, {b, 0, 1}, {c, 0, 0}},
         false},
        {"a press over nothing, then one on a sticker",
         {{-1, -1, 1}, {-1, -1, 0}, {b, 0, 1}, {c, 0, 1}, {c, 0, 0}},
         true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        int32_t startCubie = 0, startFace = 0, previous = 0, turns = 0;
        DragTurn last{};
        for (const Frame& f : earlierDrag) {
            turns += followDrag(startCubie, startFace, f.cubie, f.face, f.buttons, previous, 3).valid;
            previous = f.buttons;
        }
        ASSERT_EQ(turns, 1) << "the earlier drag";
        turns = 0;
        for (const Frame& f : k.frames) {
            const DragTurn turn = followDrag(startCubie, startFace, f.cubie, f.face, f.buttons, previous, 3);
            previous = f.buttons;
            if (turn.valid) ++turns, last = turn;
        }
        EXPECT_EQ(turns, k.turns ? 1 : 0);
        if (k.turns) {
            EXPECT_EQ(last.axis, 1);
            EXPECT_EQ(last.layer, 1);
            EXPECT_EQ(last.sense, -1);
        }
    }
}

// A drag from an x side to a cubie of another x index only chooses no axis and no sense: the period with nothing
// moving runs at the last turn's step, so it still ends, and the scramble after it keeps that turn's direction.
TEST(CubieDrag, XSideDragAcrossXOnlyKeepsTheLastStep) {
    for (int32_t face : {2, 3})
        for (int32_t lastSense : {-1, +1}) {
            SCOPED_TRACE(testing::Message() << "face " << face << ", last turn sense " << lastSense);
            const int32_t i = face == 2 ? 0 : 2;
            const DragTurn turn = turnFromDrag(slotNumber(3, i, 1, 2), face, slotNumber(3, 1, 1, 2), 3);
            ASSERT_TRUE(turn.valid);
            EXPECT_EQ(turn.axis, -1);
            auto m = built<cuboidAConfig>(3, 3, 3, 3);
            turnAndFinish(*m, 2, 0, lastSense);
            startTurn(*m, turn.axis, turn.layer, turn.sense);
            EXPECT_EQ(m->turnStep, 5 * lastSense);
            EXPECT_EQ(runTurn(*m), 18);
            EXPECT_FALSE(m->turning);
            m->scrambleLeft = 1;
            startRandomTurn(*m);
            EXPECT_EQ(m->turnStep, 5 * lastSense) << "the scramble turns the way of the last real turn";
        }
    // Straight after a build the step is the build's +stepSize.
    auto m = built<cuboidCConfig>(3, 3, 3, 3);
    const DragTurn turn = turnFromDrag(slotNumber(3, 2, 0, 0), 3, slotNumber(3, 0, 0, 0), 3);
    startTurn(*m, turn.axis, turn.layer, turn.sense);
    EXPECT_EQ(m->turnStep, 5);
    EXPECT_EQ(runTurn(*m), 18);
}

// On an x side a difference in x never changes the sense the other coordinates chose.
TEST(CubieDrag, XSideDiagonalTakesTheSenseOfTheCoordinateThatChoseTheAxis) {
    struct Case {
        const char* name;
        int32_t face, from[3], to[3], axis, layer, sense;
    } const cases[] = {
        {"+x side toward +y and -x", 3, {2, 0, 1}, {1, 1, 1}, 2, 1, +1},
        {"+x side toward -z and -x", 3, {2, 1, 2}, {1, 1, 1}, 1, 1, -1},
        {"-x side toward +y and +x", 2, {0, 0, 1}, {1, 1, 1}, 2, 1, -1},
        {"-x side toward -z and +x", 2, {0, 1, 2}, {1, 1, 1}, 1, 1, +1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DragTurn turn = turnFromDrag(slotOf(c.from), c.face, slotOf(c.to), 3);
        EXPECT_EQ(turn.axis, c.axis);
        EXPECT_EQ(turn.layer, c.layer);
        EXPECT_EQ(turn.sense, c.sense);
    }
}

}  // namespace
}  // namespace cubie_test
