// cube3d's frame loop without a window: the pick against the projection of every sticker, drags that turn layers
// the way the drag rule says, and the keys that rebuild the puzzle.
#include <cmath>
#include <cstring>

#include "tests/cube3d/support.h"

namespace cube3d_test {
namespace {

struct View {
    const char* name;
    int32_t grid, dims[3];
    int32_t yaw, pitch;
};
constexpr View views[] = {
    {"start", 10, {10, 10, 10}, 45, 45},
    {"looking straight down", 10, {10, 10, 10}, 45, 90},
    {"looking straight up", 10, {10, 10, 10}, 10, -90},
    {"over the top, upside down", 10, {10, 10, 10}, -120, 135},
    {"from behind and below", 10, {10, 10, 10}, 200, -30},
    {"a 7-grid cuboid", 7, {7, 3, 5}, 60, 20},
    {"a 2 x 1 x 2 slab", 2, {2, 1, 2}, 30, 60},
};

// Every sticker the camera shows well inside the window is what the pick names at its projected centre: its own
// cubie and the side it is on, and only that facet is darkened, in the highlight colour.
TEST_F(Cube3dProgram, PickAtEveryVisibleStickerNamesItsCubieAndFace) {
    for (const View& v : views) {
        SCOPED_TRACE(v.name);
        Model& m = state.puzzle;
        m.gridSize = v.grid;
        std::memcpy(m.dims, v.dims, sizeof m.dims);
        ASSERT_TRUE(rebuild());
        state.cameraYaw = v.yaw;
        state.cameraPitch = v.pitch;
        int32_t checked = 0;
        for (int32_t i = 0; i < m.dims[0]; ++i)
            for (int32_t j = 0; j < m.dims[1]; ++j)
                for (int32_t k = 0; k < m.dims[2]; ++k) {
                    const bool outer[6] = {k == m.dims[2] - 1, k == 0, i == 0,
                                           i == m.dims[0] - 1, j == 0, j == m.dims[1] - 1};
                    for (int32_t f = 0; f < 6; ++f) {
                        int32_t x, y;
                        if (!outer[f] || !stickerPixel(slotOf(i, j, k), f, x, y)) continue;
                        if (x < 0 || x >= 640 || y < 0 || y >= 480) continue;
                        ++checked;
                        pickFacets(true, x, y);
                        resolveColours();
                        ASSERT_EQ(state.pickedCubie, slotOf(i, j, k)) << "cubie " << i << j << k << " face " << f;
                        ASSERT_EQ(state.pickedFace, f) << "cubie " << i << j << k;
                        int32_t darkened = 0, record = -1;
                        for (int32_t r = 0; r < Model::recordCount; ++r)
                            if (state.darkened[r]) {
                                ++darkened;
                                record = r;  // the last one darkened is the nearest
                            }
                        // Facets earlier in the records and further along the ray may be darkened besides.
                        ASSERT_GE(darkened, 1);
                        EXPECT_EQ(m.facets[record].colour, outerCode[f]);
                        EXPECT_EQ(std::memcmp(state.recordColour[record], darkGrey, sizeof darkGrey), 0);
                    }
                }
        EXPECT_GT(checked, v.grid == 2 ? 2 : 40) << "stickers seen";
    }
}

// The ray against one facet, a 10 x 10 square in the plane z = 5, against rays from z = 20 to z = -20.
TEST_F(Cube3dProgram, RayAgainstAFacet) {
    const scene::Vec3 square[4] = {{0, 0, 5}, {0, 10, 5}, {10, 10, 5}, {10, 0, 5}};
    const scene::Vec3 point[4] = {{3, 3, 5}, {3, 3, 5}, {3, 3, 5}, {3, 3, 5}};
    struct Case {
        const char* name;
        const scene::Vec3* facet;
        scene::Vec3 from, to;
        bool hit;
        double distance;
    } const cases[] = {
        {"straight through the middle", square, {5, 5, 20}, {5, 5, -20}, true, 15},
        {"slanting through", square, {0, 0, 20}, {8, 8, -20}, true, 15.0 * std::sqrt(1 + 2 * 0.04)},
        {"beside it", square, {11, 5, 20}, {11, 5, -20}, false, 0},
        {"exactly on an edge", square, {10, 5, 20}, {10, 5, -20}, false, 0},
        {"exactly on a corner", square, {0, 0, 20}, {0, 0, -20}, false, 0},
        {"stopping short of it", square, {5, 5, 20}, {5, 5, 6}, false, 0},
        {"starting beyond it", square, {5, 5, 4}, {5, 5, -20}, false, 0},
        {"along its plane", square, {-5, 5, 5}, {20, 5, 5}, false, 0},
        {"an unused record's corners all in one point", point, {3, 3, 20}, {3, 3, -20}, false, 0},
    };
    for (const Case& c : cases) {
        double distance = -1;
        EXPECT_EQ(rayMeetsFacet(c.facet, c.from, c.to, distance), c.hit) << c.name;
        if (c.hit) {
            EXPECT_NEAR(distance, c.distance, 1e-9) << c.name;
        }
    }
}

TEST_F(Cube3dProgram, NothingIsPickedOffTheCubeOrWhileATurnRuns) {
    pickFacets(true, 5, 5);
    EXPECT_EQ(state.pickedCubie, -1);
    EXPECT_EQ(state.pickedFace, -1);
    int32_t x, y;
    ASSERT_TRUE(stickerPixel(slotOf(5, 9, 5), 5, x, y));
    cubie::startTurn(state.puzzle, 0, 0, 1);
    frame(x, y, leftButtonAlone);
    EXPECT_EQ(state.pickedCubie, -1) << "a turn runs";
    for (int32_t r = 0; r < Model::recordCount; ++r) ASSERT_FALSE(state.darkened[r]);
}

// A drag across the top (+y) towards +z or -z turns the start cubie's layer about x a quarter in 90 frames; the
// pressed sticker goes over the edge it was dragged towards and the pick then names its new cubie and side.
TEST_F(Cube3dProgram, DraggedStickerEndsOnTheSideItWasDraggedTowards) {
    struct Case {
        const char* name;
        int32_t from[3], to[3];  // cubies under the press and the release, both on the +y side
        int32_t ends[3], face;   // where the pressed sticker lies after the turn
        int32_t yaw;             // a camera that sees that side
    } const cases[] = {
        // A quarter turn about x by +90 degrees takes (y, z) to (-z, y): cell (j, k) to (9 - k, j), +y to +z.
        {"towards +z", {4, 9, 3}, {4, 9, 4}, {4, 6, 9}, 0, 45},
        // By -90 degrees: (y, z) to (z, -y), cell (j, k) to (k, 9 - j), +y to -z.
        {"towards -z", {4, 9, 4}, {4, 9, 3}, {4, 4, 0}, 1, 225},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetProgram(7);
        int32_t x1, y1, x2, y2;
        ASSERT_TRUE(stickerPixel(slotOf(c.from[0], c.from[1], c.from[2]), 5, x1, y1));
        ASSERT_TRUE(stickerPixel(slotOf(c.to[0], c.to[1], c.to[2]), 5, x2, y2));
        drag(x1, y1, x2, y2);
        ASSERT_TRUE(state.puzzle.turning);
        EXPECT_EQ(state.puzzle.turnAxis, 0);
        EXPECT_EQ(state.puzzle.turnLayer, c.from[0]);
        EXPECT_EQ(framesUntilIdle(), 90);
        int32_t x, y;
        const int32_t slot = slotOf(c.ends[0], c.ends[1], c.ends[2]);
        state.cameraYaw = c.yaw;
        ASSERT_TRUE(stickerPixel(slot, c.face, x, y));
        frame(x, y, leftButtonAlone);
        EXPECT_EQ(state.pickedCubie, slot);
        EXPECT_EQ(state.pickedFace, c.face);
        int32_t picked = -1;  // the last record darkened is the one picked
        for (int32_t r = 0; r < Model::recordCount; ++r) picked = state.darkened[r] ? r : picked;
        ASSERT_GE(picked, 0);
        EXPECT_EQ(state.puzzle.facets[picked].colour, outerCode[5]) << "the yellow sticker came along";
        frame(x, y, 0);
    }
}

// Drags that must start no turn, and the one drag the rule gives no axis: a turn period in which nothing moves,
// which ends like any other so that the next drag is taken.
TEST_F(Cube3dProgram, DragsThatTurnNothing) {
    int32_t xa, ya, xb, yb, xc, yc;
    ASSERT_TRUE(stickerPixel(slotOf(0, 5, 9), 2, xa, ya));  // -x side, front column
    ASSERT_TRUE(stickerPixel(slotOf(0, 5, 8), 2, xb, yb));  // its neighbour on the same side
    ASSERT_TRUE(stickerPixel(slotOf(1, 5, 9), 0, xc, yc));  // +z side, one cubie along x
    struct Case {
        const char* name;
        int32_t x1, y1, x2, y2, buttons;
        bool turns;
    } const cases[] = {
        {"release on the pressed sticker", xa, ya, xa + 1, ya, leftButtonAlone, false},
        {"release off the cube", xa, ya, 5, 5, leftButtonAlone, false},
        {"Shift held", xa, ya, xb, yb, leftButtonAlone | 8, false},
        {"Ctrl held", xa, ya, xb, yb, leftButtonAlone | 16, false},
        {"both buttons", xa, ya, xb, yb, leftButtonAlone | rightButtonAlone, false},
        {"the same drag with the left button alone", xa, ya, xb, yb, leftButtonAlone, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetProgram(7);
        const auto before = std::make_unique<Model>(state.puzzle);
        drag(c.x1, c.y1, c.x2, c.y2, c.buttons);
        EXPECT_EQ(state.puzzle.turning, c.turns);
        EXPECT_EQ(state.cameraYaw, startAngle) << "no orbit";
        if (!c.turns) {
            EXPECT_EQ(std::memcmp(before->worldVertex, state.puzzle.worldVertex, sizeof before->worldVertex), 0);
        }
    }
    // From the -x side onto a cubie that differs only along x: no axis and no sense, so the period keeps the step
    // of the last turn (here one the other way) and ends after its 90 frames.
    resetProgram(7);
    state.puzzle.turnStep = -1;
    const auto before = std::make_unique<Model>(state.puzzle);
    drag(xa, ya, xc, yc);
    ASSERT_TRUE(state.puzzle.turning);
    EXPECT_EQ(state.puzzle.turnAxis, -1);
    EXPECT_EQ(state.puzzle.turnStep, -1);
    EXPECT_EQ(framesUntilIdle(), 90);
    EXPECT_EQ(std::memcmp(before->facets, state.puzzle.facets, sizeof before->facets), 0);
    drag(xa, ya, xb, yb);
    EXPECT_TRUE(state.puzzle.turning) << "the next drag is taken";
}

// A press off the cube starts no drag: dragging from the background onto the cube turns nothing, whatever sticker
// was pressed before.
TEST_F(Cube3dProgram, PressOffTheCubeStartsNoDrag) {
    int32_t xa, ya, xb, yb;
    ASSERT_TRUE(stickerPixel(slotOf(3, 9, 3), 5, xa, ya));
    ASSERT_TRUE(stickerPixel(slotOf(3, 9, 4), 5, xb, yb));
    drag(xa, ya, xa, ya);  // a press on a sticker, released on it: no turn
    ASSERT_FALSE(state.puzzle.turning);
    drag(5, 5, xb, yb);
    EXPECT_FALSE(state.puzzle.turning);
}

// Size and shape keys rebuild a solved puzzle and put the camera back; other keys do nothing.
TEST_F(Cube3dProgram, SizeAndShapeKeys) {
    struct Step {
        uint8_t key;
        int32_t grid, dims[3];
    } const steps[] = {
        {'s', 2, {2, 2, 2}}, {'x', 2, {1, 2, 2}}, {'x', 2, {2, 2, 2}}, {'z', 2, {2, 1, 2}}, {'c', 2, {2, 1, 1}},
        {'S', 2, {2, 1, 1}}, {'X', 2, {2, 1, 1}}, {'s', 3, {3, 3, 3}}, {'c', 3, {3, 3, 2}}, {'s', 4, {4, 4, 4}},
    };
    for (int32_t i = 0; i < 5; ++i) frame(0, 0, 0, 's');  // 10 goes round to 2, then up to 6
    EXPECT_EQ(state.puzzle.gridSize, 6);
    for (int32_t i = 0; i < 4; ++i) frame(0, 0, 0, 's');
    ASSERT_EQ(state.puzzle.gridSize, 10);
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string("key ") + char(s.key));
        state.cameraYaw = 100;
        frame(0, 0, 0, s.key);
        EXPECT_EQ(state.puzzle.gridSize, s.grid);
        EXPECT_EQ(state.puzzle.dims[0], s.dims[0]);
        EXPECT_EQ(state.puzzle.dims[1], s.dims[1]);
        EXPECT_EQ(state.puzzle.dims[2], s.dims[2]);
        const bool rebuilt = s.key >= 'a';
        EXPECT_EQ(state.cameraYaw, rebuilt ? 45 : 100);
        int32_t used = 0;
        for (const Facet& f : state.puzzle.facets) used += f.colour != 0;
        EXPECT_EQ(used, 6 * s.dims[0] * s.dims[1] * s.dims[2]);
    }
    EXPECT_FALSE(frame(0, 0, 0, keyEscape));
}

// The scramble key queues thirty turns; pressing it again during them starts the count over, a rebuild stops them.
TEST_F(Cube3dProgram, ScrambleKey) {
    frame(0, 0, 0, 'a');
    EXPECT_EQ(state.puzzle.scrambleLeft, 30);
    for (int32_t i = 0; i < 200; ++i) frame(0, 0, 0);
    EXPECT_EQ(state.puzzle.scrambleLeft, 30 - 3);
    frame(0, 0, 0, 'a');
    EXPECT_EQ(state.puzzle.scrambleLeft, 30);
    frame(0, 0, 0, 'c');
    EXPECT_EQ(state.puzzle.scrambleLeft, 0);
    EXPECT_FALSE(state.puzzle.turning);
}

}  // namespace
}  // namespace cube3d_test
