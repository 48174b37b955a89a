// The cuboid programs without a display: projection and picking, the depth order, the keys, the drag gestures,
// and save and load through the keys. Built once per program; the suites carry the program's letter.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "cuboid/controls.h"
#include "cuboid/draw.h"
#include "cuboid/picking.h"
#include "cuboid/program.h"
#include "cuboid/state.h"
#include "scene/projection.h"
#include "tests/cuboid/suite.h"
#include "tests/support/picture.h"

using namespace cuboid;

namespace {

const int32_t (&sides)[6] = oracle::cuboidSides[CUBOID_VARIANT];

// A fresh program with a fixed seed, as after start-up.
void freshProgram() { resetProgram(12345); }

bool frame(int32_t x = 0, int32_t y = 0, int32_t buttons = 0, uint8_t key = 0) {
    return playFrame(FrameInput{.mouseX = x, .mouseY = y, .buttons = buttons, .key = key});
}

void paintOnly(int32_t x, int32_t y, int32_t buttons, int32_t previousButtons) {
    state.pointer.mouseX = x;
    state.pointer.mouseY = y;
    state.pointer.buttons = buttons;
    state.pointer.previousButtons = previousButtons;
    projectVertices();
    sortFacets();
    drawFacets();
}

oracle::Layout layout() { return oracle::cuboidLayout(state.puzzle.gridSize, state.puzzle.dims); }

// The outer stickers the rules put on view for the program's puzzle size, shape and view angles.
std::vector<oracle::SeenSticker> seenStickers() {
    return oracle::visibleStickers(layout(), oracle::cuboidPage, state.viewAngle);
}

int slotOf(int i, int j, int k) { return cubie::slotNumber(state.puzzle.gridSize, i, j, k); }

// A point well inside a sticker: its centre, or for two triangles a point off their shared edge.
void pickPoint(const oracle::SeenSticker& s, int32_t& x, int32_t& y) {
    double px = s.x, py = s.y;
    if (facetCorners == 3) s.towardEdge(0, 0.5, px, py);
    x = static_cast<int32_t>(std::lround(px));
    y = static_cast<int32_t>(std::lround(py));
}

// Colours of every record that sits on the given face of the given slot (one quad, or two triangles).
std::vector<int32_t> coloursAt(int i, int j, int k, int face) {
    std::vector<int32_t> out;
    for (const Facet& f : state.puzzle.facets)
        if (f.colour != 0 && cubie::facetSlot(f) == slotOf(i, j, k) && cubie::facetFace(f) == face)
            out.push_back(f.colour);
    return out;
}

void runFrames(int n) {
    for (int f = 0; f < n; ++f) frame();
}

// Every outer sticker of the program's puzzle shows what the sticker model shows there.
void expectStickersOf(const oracle::Cube& model) {
    for (int i = 0; i < state.puzzle.dims[0]; ++i)
        for (int j = 0; j < state.puzzle.dims[1]; ++j)
            for (int k = 0; k < state.puzzle.dims[2]; ++k)
                for (int face = 0; face < 6; ++face) {
                    if (!oracle::outer(layout(), {i, j, k}, face)) continue;
                    for (int32_t c : coloursAt(i, j, k, face))
                        EXPECT_EQ(c, model.colourAt({i, j, k}, face))
                            << "face " << face << " of (" << i << ", " << j << ", " << k << ")";
                }
}

// A private working directory for the save file, removed afterwards.
class WorkDir {
public:
    WorkDir() {
        char pattern[] = "/tmp/cuboid-unit-XXXXXX";
        dir_ = mkdtemp(pattern);
        old_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
    }
    ~WorkDir() {
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(dir_);
    }

private:
    std::string dir_;
    std::filesystem::path old_;
};

int lineCount(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int lines = 0;
    for (size_t p = 0; (p = all.find("\r\n", p)) != std::string::npos; p += 2) ++lines;
    return lines;
}

}  // namespace

// ---- projection and picking ---------------------------------------------------------------------------------

// Every corner point lands where the perspective division puts it, written as the rule states it: screen x =
// centre + 480 * x3 / (480 - z2), screen y = centre - 480 * y3 / (480 - z2), depth z2, each rounded. The first two
// views put corners exactly half a pixel off a whole row, where any reordering of that arithmetic rounds the
// other way.
TEST(SUITE(Projection), EveryPointByTheLiteralPerspectiveDivision) {
    const int32_t views[][3] = {{-135, -180, 90}, {-45, -180, 90}, {45, 45, 90}, {17, -300, 90}, {400, 73, 90}};
    for (const int gridSize : {2, 6}) {
        freshProgram();
        while (state.puzzle.gridSize != gridSize) frame(0, 0, 0, keyLetters.size);
        for (const auto& view : views) {
            SCOPED_TRACE(testing::Message() << "N " << gridSize << ", view " << view[0] << " " << view[1]);
            for (int a = 0; a < 3; ++a) state.viewAngle[a] = view[a];
            projectVertices();
            for (int32_t v = 0; v < Model::vertexCount; ++v) {
                double want[3];
                oracle::projectRounded(oracle::cuboidPage, view, state.puzzle.worldVertex[v], want);
                for (int a = 0; a < 3; ++a) ASSERT_EQ(state.screenVertex[v][a], want[a]) << "vertex " << v;
            }
        }
    }
}

struct PickCase {
    const char* name;
    int gridSize;
    int dims[3];
    int angle[3];
};

TEST(SUITE(Picking), PickAtAStickersProjectedCentreNamesItsSlotAndFace) {
    // clang-format off
    const PickCase cases[] = {
        {"start view, 6-cube", 6, {6, 6, 6}, {45, 45, 90}},
        {"start view, 2-cube", 2, {2, 2, 2}, {45, 45, 90}},
        {"turned right and down", 6, {6, 6, 6}, {135, 20, 90}},
        {"from below", 4, {4, 4, 4}, {-60, -30, 90}},
        {"nearly face on", 3, {3, 3, 3}, {10, 15, 90}},
        {"6 x 6 x 3 cuboid", 6, {6, 6, 3}, {200, 50, 90}},
        {"5 x 2 x 4 cuboid", 5, {5, 2, 4}, {30, -120, 90}},
    };
    // clang-format on
    for (const PickCase& c : cases) {
        freshProgram();
        state.puzzle.gridSize = c.gridSize;
        for (int a = 0; a < 3; ++a) state.puzzle.dims[a] = c.dims[a];
        ASSERT_TRUE(rebuild());
        for (int a = 0; a < 3; ++a) state.viewAngle[a] = c.angle[a];
        int checked = 0;
        for (const oracle::SeenSticker& s : seenStickers()) {
            // Stickers seen nearly edge-on are a pixel or two wide; their centres are no fair test.
            if (s.minEdge < 8 || s.facing < 0.15) continue;
            // The centre, then points toward each edge's middle.
            for (int point = -1; point < 4; ++point) {
                double px = s.x, py = s.y;
                if (point >= 0) s.towardEdge(point, 0.5, px, py);
                paintOnly(static_cast<int32_t>(std::lround(px)), static_cast<int32_t>(std::lround(py)), 1, 0);
                EXPECT_EQ(state.pickedCubie, slotOf(s.i, s.j, s.k))
                    << c.name << ": sticker (" << s.i << ", " << s.j << ", " << s.k << ") face " << s.face << " point "
                    << point;
                EXPECT_EQ(state.pickedFace, s.face) << c.name << ": sticker (" << s.i << ", " << s.j << ", " << s.k
                                                    << ") face " << s.face << " point " << point;
            }
            ++checked;
        }
        EXPECT_GT(checked, 3 * c.dims[0] * c.dims[1] / 4) << c.name << ": too few stickers checked";
    }
}

// Every pixel at least 1.5 pixels inside a sticker that faces the eye (the rules' geometry, not the pick) picks
// that sticker's cubie and face, the pixels on the edge between a face's two triangles included. The margin
// covers the rounding of the projected corners.
TEST(SUITE(Picking), EveryPixelWellInsideAVisibleStickerPicksThatSticker) {
    const PickCase cases[] = {
        {"start view, 4-cube", 4, {4, 4, 4}, {45, 45, 90}},
        {"turned right and down, 3-cube", 3, {3, 3, 3}, {135, 20, 90}},
        {"from below, 5 x 2 x 4 cuboid", 5, {5, 2, 4}, {-60, -30, 90}},
    };
    for (const PickCase& c : cases) {
        freshProgram();
        state.puzzle.gridSize = c.gridSize;
        for (int a = 0; a < 3; ++a) state.puzzle.dims[a] = c.dims[a];
        ASSERT_TRUE(rebuild());
        for (int a = 0; a < 3; ++a) state.viewAngle[a] = c.angle[a];
        projectVertices();
        sortFacets();
        int checked = 0, wrong = 0;
        std::string first;
        for (const oracle::SeenSticker& s : seenStickers()) {
            const auto [left, right] = std::minmax_element(s.cornerX, s.cornerX + 4);
            const auto [top, bottom] = std::minmax_element(s.cornerY, s.cornerY + 4);
            for (int32_t y = int32_t(*top); y <= int32_t(*bottom) + 1; ++y)
                for (int32_t x = int32_t(*left); x <= int32_t(*right) + 1; ++x) {
                    if (s.depthInside(x, y) < 1.5) continue;
                    ++checked;
                    state.pointer = {.mouseX = x, .mouseY = y, .buttons = 1};
                    drawFacets();
                    if (state.pickedCubie == slotOf(s.i, s.j, s.k) && state.pickedFace == s.face) continue;
                    if (wrong++ == 0)
                        first = "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") of face " +
                                std::to_string(s.face) + " of (" + std::to_string(s.i) + ", " + std::to_string(s.j) +
                                ", " + std::to_string(s.k) + ") picks slot " + std::to_string(state.pickedCubie) +
                                " face " + std::to_string(state.pickedFace);
                }
        }
        EXPECT_GT(checked, 10000) << c.name;
        EXPECT_EQ(wrong, 0) << c.name << ": pixels picking another sticker or none, of " << checked
                            << "; first: " << first;
    }
}

TEST(SUITE(Picking), NoPickOffThePuzzleWithoutTheLeftButtonAloneOrDuringATurn) {
    freshProgram();
    const oracle::SeenSticker s = seenStickers().front();
    int32_t x, y;
    pickPoint(s, x, y);
    struct Case {
        const char* name;
        int32_t x, y, buttons, previousButtons;
        bool turning;
        bool picks;
    } cases[] = {
        {"press on a sticker", x, y, 1, 0, false, true},
        {"release on a sticker", x, y, 0, 1, false, true},
        {"held on a sticker", x, y, 1, 1, false, true},
        {"no button", x, y, 0, 0, false, false},
        {"right button", x, y, 2, 2, false, false},
        {"left with shift", x, y, 1 | 8, 1 | 8, false, false},
        {"left and right", x, y, 3, 0, false, false},
        {"during a turn", x, y, 1, 0, true, false},
        {"on the background", 5, 5, 1, 0, false, false},
        {"in the picture's middle, off to the right", 630, 240, 1, 0, false, false},
    };
    for (const Case& c : cases) {
        state.puzzle.turning = c.turning;
        paintOnly(c.x, c.y, c.buttons, c.previousButtons);
        state.puzzle.turning = false;
        if (c.picks) {
            EXPECT_EQ(state.pickedCubie, slotOf(s.i, s.j, s.k)) << c.name;
            EXPECT_EQ(state.pickedFace, s.face) << c.name;
        } else {
            EXPECT_EQ(state.pickedCubie, -1) << c.name;
            EXPECT_EQ(state.pickedFace, -1) << c.name;
        }
    }
}

// ---- depth order ----------------------------------------------------------------------------------------------

TEST(SUITE(Depth), EveryFrontFacingFacetThatCoversAStickerCentreIsPaintedBeforeThatSticker) {
    freshProgram();
    for (const int angle0 : {45, 100, -20}) {
        state.viewAngle[0] = angle0;
        projectVertices();
        sortFacets();
        for (const oracle::SeenSticker& s : seenStickers()) {
            if (s.minEdge < 8 || s.facing < 0.15) continue;
            int32_t x, y;
            pickPoint(s, x, y);
            int stickerAt = -1, lastCovering = -1;
            for (int r = 0; r < Model::recordCount; ++r) {
                const Facet& f = state.puzzle.facets[r];
                PointType p[facetCorners];
                facetScreenCorners(f, p);
                if (!frontFacing(p) || !scene::cursorInside(p, facetCorners, x, y)) continue;
                lastCovering = r;
                if (cubie::facetSlot(f) == slotOf(s.i, s.j, s.k) && cubie::facetFace(f) == s.face) stickerAt = r;
            }
            ASSERT_GE(stickerAt, 0) << "sticker not found under its own centre";
            EXPECT_EQ(stickerAt, lastCovering) << "angle " << angle0 << ": a facet is painted over sticker (" << s.i
                                               << ", " << s.j << ", " << s.k << ") face " << s.face;
        }
    }
}

// ---- keys ------------------------------------------------------------------------------------------------------

TEST(SUITE(Keys), SizeKeyCyclesThroughTwoToSixAndRebuildsACube) {
    freshProgram();
    frame(0, 0, 0, keyLetters.shapeX);
    for (const int expectedSize : {2, 3, 4, 5, 6, 2}) {
        frame(0, 0, 0, keyLetters.size);
        EXPECT_EQ(state.puzzle.gridSize, expectedSize);
        for (int a = 0; a < 3; ++a) EXPECT_EQ(state.puzzle.dims[a], expectedSize);
    }
}

TEST(SUITE(Keys), ShapeKeysShortenOneAxisAndWrapToTheFullGrid) {
    const uint8_t keys[3] = {keyLetters.shapeX, keyLetters.shapeY, keyLetters.shapeZ};
    for (int axis = 0; axis < 3; ++axis) {
        freshProgram();
        for (const int expectedExtent : {5, 4, 3, 2, 1, 6}) {
            frame(0, 0, 0, keys[axis]);
            EXPECT_EQ(state.puzzle.dims[axis], expectedExtent) << "axis " << axis;
            EXPECT_EQ(state.puzzle.dims[(axis + 1) % 3], 6);
            EXPECT_EQ(state.puzzle.dims[(axis + 2) % 3], 6);
        }
    }
}

TEST(SUITE(Keys), RebuildResetsTheViewEndsTheTurnAndCancelsTheScramble) {
    for (const uint8_t key : {keyLetters.size, keyLetters.shapeX, keyLetters.shapeY, keyLetters.shapeZ}) {
        freshProgram();
        frame(0, 0, 0, keyLetters.scramble);
        frame(100, 100, 2);
        frame(130, 90, 2);
        ASSERT_TRUE(state.puzzle.turning);
        frame(130, 90, 0, key);
        EXPECT_FALSE(state.puzzle.turning) << key;
        EXPECT_EQ(state.puzzle.scrambleLeft, 0) << key;
        for (int a = 0; a < 3; ++a) EXPECT_EQ(state.viewAngle[a], startViewAngle[a]) << key;
        // The projected points of the old puzzle are gone with it.
        for (const auto& v : state.screenVertex) ASSERT_TRUE(v[0] == 0 && v[1] == 0 && v[2] == 0) << key;
    }
}

TEST(SUITE(Keys), ScrambleRunsThirtyTurnsOneAfterAnother) {
    freshProgram();
    frame(0, 0, 0, keyLetters.scramble);
    EXPECT_EQ(state.puzzle.scrambleLeft, cubie::scrambleTurns);
    int turnsStarted = 0;
    bool wasTurning = false;
    for (int f = 0; f < 40 * 18 && (state.puzzle.scrambleLeft > 0 || state.puzzle.turning || f == 0); ++f) {
        frame();
        if (state.puzzle.turning && (!wasTurning || state.puzzle.turnAngle == state.puzzle.turnStep)) ++turnsStarted;
        wasTurning = state.puzzle.turning;
    }
    EXPECT_EQ(turnsStarted, cubie::scrambleTurns);
    EXPECT_FALSE(state.puzzle.turning);
}

TEST(SUITE(Keys), ScrambleDuringATurnLetsThatTurnFinishFirst) {
    freshProgram();
    cubie::startTurn(state.puzzle, 2, 0, 1);
    runFrames(5);
    const int32_t axis = state.puzzle.turnAxis, layer = state.puzzle.turnLayer, angle = state.puzzle.turnAngle;
    frame(0, 0, 0, keyLetters.scramble);
    EXPECT_EQ(state.puzzle.turnAxis, axis);
    EXPECT_EQ(state.puzzle.turnLayer, layer);
    EXPECT_EQ(state.puzzle.turnAngle, angle + 5);
    EXPECT_EQ(state.puzzle.scrambleLeft, cubie::scrambleTurns);
}

TEST(SUITE(Keys), DiceKeyTogglesDiceModeOnlyInTheDiceProgram) {
    freshProgram();
    frame(0, 0, 0, keyDice);
    EXPECT_EQ(state.diceMode, variant.hasDiceMode);
    frame(0, 0, 0, keyDice);
    EXPECT_FALSE(state.diceMode);
}

TEST(SUITE(Keys), UpperCaseLettersAndUnknownKeysDoNothing) {
    for (const uint8_t key : {'A', 'D', 'K', 'L', 'S', 'Z', 'X', 'C', 'q', '1', ' ', '\r'}) {
        WorkDir dir;
        freshProgram();
        frame(0, 0, 0, key);
        EXPECT_EQ(state.puzzle.gridSize, 6) << key;
        for (int a = 0; a < 3; ++a) EXPECT_EQ(state.puzzle.dims[a], 6) << key;
        EXPECT_EQ(state.puzzle.scrambleLeft, 0) << key;
        EXPECT_FALSE(state.diceMode) << key;
        EXPECT_FALSE(std::filesystem::exists("SALVARE.TXT")) << key;
    }
}

TEST(SUITE(Keys), EscapeEndsTheProgramAtOnceEvenDuringATurn) {
    freshProgram();
    EXPECT_TRUE(frame());
    cubie::startTurn(state.puzzle, 0, 1, 1);
    EXPECT_TRUE(frame());
    EXPECT_FALSE(frame(0, 0, 0, keyEscape));
}

// ---- gestures -------------------------------------------------------------------------------------------------

namespace {

// A point well inside sticker (i, j, k) on a face in the current view.
bool stickerPoint(int i, int j, int k, int face, int32_t& x, int32_t& y) {
    for (const oracle::SeenSticker& s : seenStickers())
        if (s.i == i && s.j == j && s.k == k && s.face == face) {
            pickPoint(s, x, y);
            return true;
        }
    return false;
}

void dragBetween(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    frame(x1, y1, 0);
    frame(x1, y1, 1);
    frame((x1 + x2) / 2, (y1 + y2) / 2, 1);
    frame(x2, y2, 1);
    frame(x2, y2, 0);
}

}  // namespace

TEST(SUITE(Gestures), DragOnTheFrontTowardPlusXTurnsTheRowAboutY) {
    freshProgram();
    int32_t x1, y1, x2, y2;
    ASSERT_TRUE(stickerPoint(2, 3, 5, 0, x1, y1));
    ASSERT_TRUE(stickerPoint(3, 3, 5, 0, x2, y2));
    dragBetween(x1, y1, x2, y2);
    ASSERT_TRUE(state.puzzle.turning);
    EXPECT_EQ(state.puzzle.turnAxis, 1);
    EXPECT_EQ(state.puzzle.turnLayer, 3);
    EXPECT_LT(state.puzzle.turnStep, 0);
    runFrames(20);
    ASSERT_FALSE(state.puzzle.turning);
    // A quarter turn of row j = 3 that carries the +z side over to +x and brings the -x side round to +z.
    oracle::Cube model(6, sides);
    model.turn(1, 3, 1);
    expectStickersOf(model);
}

TEST(SUITE(Gestures), DragOnTheTopTowardPlusYTurnsTheLayerAboutZ) {
    freshProgram();
    int32_t x1, y1, x2, y2;
    ASSERT_TRUE(stickerPoint(5, 1, 4, 3, x1, y1));
    ASSERT_TRUE(stickerPoint(5, 2, 4, 3, x2, y2));
    dragBetween(x1, y1, x2, y2);
    ASSERT_TRUE(state.puzzle.turning);
    EXPECT_EQ(state.puzzle.turnAxis, 2);
    EXPECT_EQ(state.puzzle.turnLayer, 4);
    EXPECT_GT(state.puzzle.turnStep, 0);
    runFrames(20);
    // A quarter turn of layer k = 4 that carries the +x side over to +y.
    oracle::Cube model(6, sides);
    model.turn(2, 4, 1);
    expectStickersOf(model);
}

TEST(SUITE(Gestures), ReleaseOnTheSameCubieOrTheBackgroundTurnsNothing) {
    freshProgram();
    int32_t x1, y1;
    ASSERT_TRUE(stickerPoint(2, 3, 5, 0, x1, y1));
    dragBetween(x1, y1, x1 + 1, y1 + 1);
    EXPECT_FALSE(state.puzzle.turning);
    dragBetween(x1, y1, 5, 5);
    EXPECT_FALSE(state.puzzle.turning);
}

TEST(SUITE(Gestures), RightDragTurnsTheViewOneDegreePerPixel) {
    freshProgram();
    frame(200, 200, 0);
    frame(200, 200, 2);
    frame(215, 190, 2);
    frame(230, 185, 2);
    frame(260, 300, 0);
    EXPECT_EQ(state.viewAngle[0], 45 + 30);
    EXPECT_EQ(state.viewAngle[1], 45 - 15);
    EXPECT_EQ(state.viewAngle[2], 90);
}

// ---- save and load ---------------------------------------------------------------------------------------------

namespace {

struct Snapshot {
    int32_t gridSize, dims[3];
    std::vector<int32_t> facetWords;
};

Snapshot snapshot() {
    Snapshot s{state.puzzle.gridSize, {state.puzzle.dims[0], state.puzzle.dims[1], state.puzzle.dims[2]}, {}};
    const auto* words = reinterpret_cast<const int32_t*>(state.puzzle.facets);
    s.facetWords.assign(words, words + (sizeof state.puzzle.facets) / (sizeof(int32_t)));
    return s;
}

// The records as a sorted list: the depth sort reorders them every frame, so only the set of them is the puzzle.
std::vector<std::vector<int32_t>> records(const Snapshot& s) {
    const size_t width = sizeof(Facet) / sizeof(int32_t);
    std::vector<std::vector<int32_t>> out;
    for (size_t r = 0; r < s.facetWords.size(); r += width)
        out.emplace_back(s.facetWords.begin() + static_cast<long>(r),
                         s.facetWords.begin() + static_cast<long>(r + width));
    std::sort(out.begin(), out.end());
    return out;
}

void expectSameRecords(const Snapshot& a, const Snapshot& b, const char* what) {
    EXPECT_EQ(a.gridSize, b.gridSize) << what;
    for (int d = 0; d < 3; ++d) EXPECT_EQ(a.dims[d], b.dims[d]) << what;
    EXPECT_TRUE(records(a) == records(b)) << what << ": facets differ";
}

void expectSame(const Snapshot& a, const Snapshot& b, const char* what) {
    EXPECT_EQ(a.gridSize, b.gridSize) << what;
    for (int d = 0; d < 3; ++d) EXPECT_EQ(a.dims[d], b.dims[d]) << what;
    EXPECT_TRUE(a.facetWords == b.facetWords) << what << ": facets differ";
}

void turnAndFinish(int32_t axis, int32_t layer, int32_t sense) {
    cubie::startTurn(state.puzzle, axis, layer, sense);
    runFrames(40);
}

}  // namespace

TEST(SUITE(SaveLoad), SaveThenLoadRestoresThePuzzleAfterTurns) {
    struct Case {
        const char* name;
        int shrinkZ;
    } cases[] = {{"6-cube", 0}, {"6 x 6 x 3 cuboid", 3}};
    for (const Case& c : cases) {
        WorkDir dir;
        freshProgram();
        for (int n = 0; n < c.shrinkZ; ++n) frame(0, 0, 0, keyLetters.shapeZ);
        turnAndFinish(0, 1, 1);
        turnAndFinish(2, 0, -1);
        turnAndFinish(1, 4, 1);
        frame(0, 0, 0, keyLetters.save);
        const Snapshot saved = snapshot();  // the frame's sort ran before the save
        EXPECT_EQ(lineCount("SALVARE.TXT"), 5 + Model::recordCount) << c.name;
        frame(0, 0, 0, keyLetters.size);
        frame(50, 50, 2);
        frame(80, 80, 2, keyLetters.load);
        expectSame(snapshot(), saved, c.name);
        for (int a = 0; a < 3; ++a) EXPECT_EQ(state.viewAngle[a], startViewAngle[a]) << c.name;
        // The loaded puzzle turns on as before: undoing the three turns solves it.
        turnAndFinish(1, 4, -1);
        turnAndFinish(2, 0, 1);
        turnAndFinish(0, 1, -1);
        for (int k = 0; k < state.puzzle.dims[2]; ++k)
            for (int j = 0; j < 6; ++j)
                for (int32_t col : coloursAt(5, j, k, 3)) EXPECT_EQ(col, sides[3]) << c.name;
    }
}

TEST(SUITE(SaveLoad), AFailedLoadChangesNothingAndTheTurnRunsOn) {
    const char* files[] = {nullptr, "", "6\r\n6\r\n6\r\n", "7\r\n6\r\n6\r\n6\r\n1295\r\n", "garbage\r\n"};
    for (const char* content : files) {
        WorkDir dir;
        if (content) std::ofstream("SALVARE.TXT", std::ios::binary) << content;
        freshProgram();
        state.viewAngle[0] = 70;
        cubie::startTurn(state.puzzle, 1, 2, -1);
        runFrames(4);
        const Snapshot before = snapshot();
        const int32_t angle = state.puzzle.turnAngle;
        frame(0, 0, 0, keyLetters.load);
        // The load frame stepped the turn once more before the key was taken.
        EXPECT_TRUE(state.puzzle.turning);
        EXPECT_EQ(state.puzzle.turnAngle, angle - 5);
        EXPECT_EQ(state.viewAngle[0], 70);
        expectSameRecords(snapshot(), before, content ? "bad file" : "missing file");
        cubie::startTurn(state.puzzle, 1, 2, 1);  // ignored: the turn still runs
        runFrames(20);
        EXPECT_FALSE(state.puzzle.turning);
        for (int i = 0; i < 6; ++i)
            for (int32_t c : coloursAt(i, 2, 5, 0)) EXPECT_EQ(c, sides[2]);
    }
}

#if CUBOID_VARIANT == 1
namespace {
cubie::CubieModel<cuboid::cuboidAConfig> otherProgram;
}

TEST(SUITE(SaveLoad), AFileSavedByTheDiceProgramLoadsHere) {
    WorkDir dir;
    otherProgram.gridSize = 5;
    for (int32_t& d : otherProgram.dims) d = 5;
    otherProgram.dims[1] = 2;
    ASSERT_TRUE(cubie::buildPuzzle(otherProgram));
    cubie::startTurn(otherProgram, 2, 1, 1);
    for (int f = 0; f < 40; ++f) cubie::stepTurn(otherProgram);
    ASSERT_TRUE(cubie::saveState(otherProgram));
    freshProgram();
    frame(0, 0, 0, keyLetters.load);
    EXPECT_EQ(state.puzzle.gridSize, 5);
    EXPECT_EQ(state.puzzle.dims[1], 2);
    EXPECT_EQ(0, std::memcmp(state.puzzle.facets, otherProgram.facets, sizeof otherProgram.facets));
}
#endif
