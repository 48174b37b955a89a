// The raster on a real page, read back with get_pixel: the fill rule cell by cell, the cell squares, the
// far-to-near order against the plain exchange sort, the start picture and the pick. Needs a window but no
// display: SDL's offscreen stand-in gives the layer real pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cubesolve/controls.h"
#include "cubesolve/draw.h"
#include "cubesolve/model.h"
#include "cubesolve/moves.h"
#include "cubesolve/program.h"
#include "cubesolve/state.h"
#include "tests/cubesolve/expected_view.h"
#include "tests/cubesolve/sticker_model.h"
#include "tests/support/depth_inside.h"
#include "window/window.h"

using namespace cubesolve;

namespace {

class cubesolveRaster : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        set_frame_rate(0);
        int16_t driver = driverPalette, mode = size640x480;
        open_window(driver, mode, "cubesolve raster test");
        if (window_last_x() <= 0) GTEST_SKIP() << "no window: " << window_error();
        present_frame(presentDirectOff);
        select_draw_page(1);
        clear_page();
        state.probe.headless = true;
        resetProgram(3);
    }
    void TearDown() override { close_window(); }

    // The colour of cell (x, y): pixel (2x + 1, 2y + 1) belongs to that cell alone.
    static int32_t cell(int32_t x, int32_t y) { return get_pixel(int16_t(2 * x + 1), int16_t(2 * y + 1)); }

    void paintPicture() {
        clear_page();
        projectVertices();
        sortFacets();
        drawFacets();
    }
};

struct Run {
    int32_t row, from, to;
};

struct FillCase {
    const char* name;
    CellPoint p[3];
    std::vector<Run> runs;  // every painted cell, worked out by hand from the scanline rule
    bool anyOrder;          // no two points share a row, so the order the points come in cannot matter
};

// The rule: points by ascending y; the long edge runs first to last; the short edge first to middle, then
// restarts at the middle point's x on the row below it and runs to last; each row paints from the rounded
// long-edge x to the rounded short-edge x, whichever is smaller first.
const std::vector<FillCase>& fillCases() {
    // clang-format off
    static const std::vector<FillCase> cases = {
        {"long edge on the left",
         {{10, 10, 0}, {14, 12, 0}, {10, 14, 0}},
         {{10, 10, 10}, {11, 10, 12}, {12, 10, 14}, {13, 10, 14}, {14, 10, 12}},
         true},
        {"long edge on the right",
         {{14, 10, 0}, {10, 12, 0}, {14, 14, 0}},
         {{10, 14, 14}, {11, 12, 14}, {12, 10, 14}, {13, 10, 14}, {14, 12, 14}},
         true},
        {"flat top, left point first",
         {{20, 20, 0}, {26, 20, 0}, {23, 23, 0}},
         {{20, 20, 20}, {21, 21, 26}, {22, 22, 25}, {23, 23, 24}},
         false},
        {"flat top, right point first",
         {{26, 20, 0}, {20, 20, 0}, {23, 23, 0}},
         {{20, 26, 26}, {21, 20, 25}, {22, 21, 24}, {23, 22, 23}},
         false},
        {"flat bottom",
         {{33, 30, 0}, {30, 33, 0}, {36, 33, 0}},
         {{30, 33, 33}, {31, 32, 34}, {32, 31, 35}, {33, 30, 36}},
         false},
        {"steep upper edge of slope 4/3",
         {{40, 40, 0}, {44, 43, 0}, {40, 47, 0}},
         {{40, 40, 40}, {41, 40, 41}, {42, 40, 43}, {43, 40, 44}, {44, 40, 44}, {45, 40, 43}, {46, 40, 42},
          {47, 40, 41}},
         true},
        {"long edge of slope 1/3 on the right",
         {{60, 50, 0}, {57, 53, 0}, {62, 56, 0}},
         {{50, 60, 60}, {51, 59, 60}, {52, 58, 61}, {53, 57, 61}, {54, 57, 61}, {55, 59, 62}, {56, 60, 62}},
         true},
        {"over the raster's top-left corner",
         {{-10, -10, 0}, {10, -10, 0}, {-10, 10, 0}},
         {{0, 0, 1}, {1, 0, 0}},
         false},
        {"over the raster's bottom-right corner",
         {{315, 195, 0}, {330, 195, 0}, {315, 210, 0}},
         {{195, 315, 315}, {196, 315, 319}, {197, 315, 319}, {198, 315, 319}, {199, 315, 319}},
         false},
    };
    // clang-format on
    return cases;
}

bool expectedPainted(const FillCase& c, int32_t x, int32_t y) {
    for (const Run& r : c.runs)
        if (r.row == y && x >= r.from && x <= r.to) return true;
    return false;
}

TEST_F(cubesolveRaster, FillPaintsExactlyTheCellsOfTheScanlineRule) {
    constexpr int32_t colour = 12;
    for (const FillCase& c : fillCases()) {
        int order[3] = {0, 1, 2};
        do {
            clear_page();
            fillTriangle(colour, c.p[order[0]], c.p[order[1]], c.p[order[2]]);
            int32_t wrong = 0;
            std::ostringstream first;
            for (int32_t y = 0; y < rasterHeight; ++y)
                for (int32_t x = 0; x < rasterWidth; ++x) {
                    const bool painted = cell(x, y) == colour;
                    if (painted != expectedPainted(c, x, y) && wrong++ == 0)
                        first << "(" << x << ", " << y << ")" << (painted ? " painted" : " not painted");
                }
            EXPECT_EQ(wrong, 0) << c.name << ", points in order " << order[0] << order[1] << order[2]
                                << ": first wrong cell " << first.str();
        } while (c.anyOrder && std::next_permutation(order, order + 3));
    }
    // Cells of the last row reach pixel row 400; the rows below stay background.
    EXPECT_EQ(get_pixel(638, 400), colour);
    EXPECT_NE(get_pixel(638, 401), colour);
}

TEST_F(cubesolveRaster, ACellIsAThreeByThreeSquareOverlappingItsNeighbours) {
    plotCell(5, 7, 14);
    for (int16_t y = 12; y <= 18; ++y)
        for (int16_t x = 8; x <= 14; ++x) {
            const bool inside = x >= 10 && x <= 12 && y >= 14 && y <= 16;
            EXPECT_EQ(get_pixel(x, y) == 14, inside) << "pixel (" << x << ", " << y << ")";
        }
}

// The sort as the rule states it: for every a and every later b, swap when a's mean depth is the larger.
void plainExchangeSort(Facet* records) {
    auto mean = [](const Facet& f) {
        return (state.screenVertex[f.vertex[0]].depth + state.screenVertex[f.vertex[1]].depth +
                state.screenVertex[f.vertex[2]].depth) /
               3;
    };
    for (int32_t a = 0; a < Model::recordCount - 1; ++a)
        for (int32_t b = a + 1; b < Model::recordCount; ++b)
            if (mean(records[a]) > mean(records[b])) std::swap(records[a], records[b]);
}

TEST_F(cubesolveRaster, SortGivesTheExchangeSortsOrderExactly) {
    std::mt19937 random(11);
    static Facet expected[Model::recordCount];
    const char* letters = "DIUBJFLKRdiubjflkr";
    for (int32_t trial = 0; trial < 40; ++trial) {
        resizeCube(2 + trial % 4);
        char moves[40] = {};
        for (int n = 0; n < 30; ++n) moves[n] = letters[random() % 18];
        runMoves(moves);
        for (int32_t a = 0; a < 3; ++a) state.viewAngle[a] = int32_t(random() % 360);
        // Half the states catch a layer part way through a turn, where depths tie less neatly.
        if (trial % 2) {
            Model& m = state.puzzle;
            m.turning = true, m.turnAxis = int32_t(random() % 3), m.turnLayer = int32_t(random() % 3);
            m.turnStep = 5, m.turnAngle = 0;
            for (uint32_t n = random() % 17; n > 0; --n) cubie::stepTurn(m);
        }
        for (int32_t pass = 0; pass < 2; ++pass) {  // the second pass starts from an already sorted array
            projectVertices();
            std::memcpy(expected, state.puzzle.facets, sizeof expected);
            plainExchangeSort(expected);
            sortFacets();
            ASSERT_EQ(std::memcmp(expected, state.puzzle.facets, sizeof expected), 0) << "trial " << trial;
            for (int32_t a = 0; a < 3; ++a) state.viewAngle[a] = wrapDegrees(state.viewAngle[a] + 7);
        }
        state.puzzle.turning = false;
        resizeCube(3);
    }
}

using expected_view::projectPoint;

// Shortest side, in cells, of a sticker centred on w in the plane across axis, its corners half out.
double narrowestSide(const double w[3], int32_t axis, double half) {
    int32_t x[4], y[4];
    const int32_t u = (axis + 1) % 3, v = (axis + 2) % 3;
    const double su[4] = {-1, 1, 1, -1}, sv[4] = {-1, -1, 1, 1};
    for (int c = 0; c < 4; ++c) {
        double p[3] = {w[0], w[1], w[2]};
        p[u] += su[c] * half;
        p[v] += sv[c] * half;
        projectPoint(p, expected_view::startView, x[c], y[c]);
    }
    double shortest = 1e9;
    for (int c = 0; c < 4; ++c) shortest = std::min(shortest, std::hypot(x[(c + 1) % 4] - x[c], y[(c + 1) % 4] - y[c]));
    return shortest;
}

TEST_F(cubesolveRaster, StartPictureShowsUpFrontAndRightAndNothingOfTheOtherSides) {
    for (int32_t n : {2, 3, 5}) {
        SCOPED_TRACE(testing::Message() << "N = " << n);
        resizeCube(n);
        paintPicture();
        std::set<int32_t> seen;
        for (int32_t y = 0; y < rasterHeight; ++y)
            for (int32_t x = 0; x < rasterWidth; ++x) seen.insert(cell(x, y));
        EXPECT_EQ(seen, (std::set<int32_t>{0, 8, 15, 12, 2})) << "background, gaps, up, front, right";
        // The middle of each visible sticker on the three near sides shows its side's colour, where the sticker
        // is wide enough on the raster that the fill of a neighbouring face (whose runs may reach a cell past its
        // edge) cannot reach its middle.
        const double pitch = 120.0 / n, face = 58, half = pitch / 2 - 2;
        int32_t checked = 0;
        struct Side {
            int32_t axis, colour;
        };
        for (const Side side : {Side{0, 15}, Side{1, 12}, Side{2, 2}})
            for (int32_t a = 0; a < n; ++a)
                for (int32_t b = 0; b < n; ++b) {
                    double w[3];
                    w[side.axis] = face;
                    w[(side.axis + 1) % 3] = -60 + (a + 0.5) * pitch;
                    w[(side.axis + 2) % 3] = -60 + (b + 0.5) * pitch;
                    int32_t x, y;
                    projectPoint(w, expected_view::startView, x, y);
                    if (narrowestSide(w, side.axis, half) < 8) continue;
                    ++checked;
                    EXPECT_EQ(cell(x, y), side.colour) << "axis " << side.axis << " sticker " << a << ", " << b;
                }
        EXPECT_GE(checked, 2 * n * n);
    }
}

// Every cell well inside a sticker that faces the eye, found from the rules' geometry and not from the pick,
// shows that sticker's colour and picks its cubie and face: also the cells on the edge between its two triangles,
// which in the start view run through the middle of every up sticker. The margin of 1.5 cells covers the rounding
// of the projected corners. Colours come from the tests' own sticker model playing the same moves.
TEST_F(cubesolveRaster, EveryCellWellInsideAVisibleStickerPicksThatSticker) {
    struct View {
        const char* name;
        int32_t angle[3];
        const char* moves;
    };
    const View views[] = {
        {"start view", {45, 45, 90}, ""},
        {"dragged down", {45, 100, 90}, ""},
        {"from below and behind", {230, 320, 90}, ""},
        {"start view after turns", {45, 45, 90}, "FRUrDLbjKi"},
    };
    struct Target {
        int32_t x, y, slot, face, colour;
    };
    constexpr int32_t lowFace[3] = {2, 4, 1}, highFace[3] = {3, 5, 0};
    // Sets up the cube and view, and lists the cells well inside its facing stickers.
    auto prepare = [&](int32_t n, const View& view, std::vector<Target>& targets) {
        resizeCube(n);
        runMoves(view.moves);
        sticker_model::Cube model(n);
        model.play(view.moves);
        for (int32_t a = 0; a < 3; ++a) state.viewAngle[a] = view.angle[a];
        targets.clear();
        for (const expected_view::StickerOutline& s : expected_view::facingStickers(n, view.angle)) {
            const Target t{0, 0, (s.slot[0] * n + s.slot[1]) * n + s.slot[2],
                           s.side < 0 ? lowFace[s.axis] : highFace[s.axis],
                           model.colourAt({s.slot[0], s.slot[1], s.slot[2]}, s.axis, s.side)};
            const auto [left, right] = std::minmax_element(s.x, s.x + 4);
            const auto [top, bottom] = std::minmax_element(s.y, s.y + 4);
            for (int32_t y = int32_t(*top); y <= int32_t(*bottom) + 1; ++y)
                for (int32_t x = int32_t(*left); x <= int32_t(*right) + 1; ++x)
                    if (xtest::depthInside(s.x, s.y, x, y) >= 1.5) targets.push_back({x, y, t.slot, t.face, t.colour});
        }
    };
    std::vector<Target> targets;
    // The picture agrees with the sticker model, so the cells are truly on view.
    for (int32_t n = 2; n <= 5; ++n)
        for (const View& view : views) {
            prepare(n, view, targets);
            paintPicture();
            int32_t wrong = 0;
            for (const Target& t : targets) wrong += cell(t.x, t.y) != t.colour;
            EXPECT_GE(targets.size(), 2000u) << "N = " << n << ", " << view.name;
            EXPECT_EQ(wrong, 0) << "N = " << n << ", " << view.name << ": cells whose picture disagrees with the "
                                << "sticker model, of " << targets.size();
        }
    // The pick, cell by cell, with the window closed so that the fills cost nothing.
    close_window();
    for (int32_t n = 2; n <= 5; ++n)
        for (const View& view : views) {
            prepare(n, view, targets);
            projectVertices();
            sortFacets();
            int32_t wrong = 0;
            std::ostringstream first;
            for (const Target& t : targets) {
                state.pointer.mouseX = t.x, state.pointer.mouseY = t.y, state.pointer.buttons = play::leftButtonAlone;
                drawFacets();
                if (state.pickedCubie == t.slot && state.pickedFace == t.face) continue;
                if (wrong++ == 0)
                    first << "cell (" << t.x << ", " << t.y << ") of slot " << t.slot << " face " << t.face
                          << " picks slot " << state.pickedCubie << " face " << state.pickedFace;
            }
            state.pointer.buttons = 0;
            EXPECT_EQ(wrong, 0) << "N = " << n << ", " << view.name << ": cells picking another sticker or none, of "
                                << targets.size() << "; first: " << first.str();
        }
}

TEST_F(cubesolveRaster, PickNamesTheCubieAndFaceUnderTheCursor) {
    struct Case {
        double w[3];
        int32_t slot, face;
    };
    // Points off the diagonal that splits a sticker into its two triangles (the test above covers the cells on it).
    const Case cases[] = {
        {{58, 6, 4}, 2 * 9 + 1 * 3 + 1, 3},    // up centre, the +x face
        {{6, 58, -4}, 1 * 9 + 2 * 3 + 1, 5},   // front centre, +y
        {{44, 37, 58}, 2 * 9 + 2 * 3 + 2, 0},  // up-front-right corner's right sticker, +z
    };
    for (const Case& c : cases) {
        projectPoint(c.w, expected_view::startView, state.pointer.mouseX, state.pointer.mouseY);
        state.pointer.buttons = play::leftButtonAlone;
        paintPicture();
        EXPECT_EQ(state.pickedCubie, c.slot);
        EXPECT_EQ(state.pickedFace, c.face);
    }
    state.pointer.buttons = 0, state.pointer.previousButtons = 0;  // no button: no pick
    paintPicture();
    EXPECT_EQ(state.pickedCubie, -1);
}

}  // namespace
