// The painted page itself, read back with get_pixel: every visible sticker shows its side's colour at its
// centre, which only holds when far facets are painted before near ones. Needs a window but no display: SDL's
// offscreen stand-in gives the layer real pages. Built once per program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "cuboid/draw.h"
#include "cuboid/program.h"
#include "cuboid/state.h"
#include "tests/cuboid/suite.h"
#include "tests/support/picture.h"
#include "window/window.h"

using namespace cuboid;

namespace {

class SUITE(Paint) : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        set_frame_rate(0);
        int16_t driver = driverPalette, mode = size640x480;
        open_window(driver, mode, "cuboid paint test");
        if (window_last_x() <= 0) GTEST_SKIP() << "no window: " << window_error();
        select_draw_page(1);
        resetProgram(99);
    }
    void TearDown() override { close_window(); }

    void paint(int32_t x, int32_t y, int32_t buttons) {
        state.pointer = {.mouseX = x, .mouseY = y, .buttons = buttons};
        clear_page();
        projectVertices();
        sortFacets();
        drawFacets();
    }

    // The start puzzle's outer stickers the rules put on view, under the program's view angles.
    static std::vector<oracle::SeenSticker> seenStickers() {
        const int32_t dims[3] = {6, 6, 6};
        return oracle::visibleStickers(oracle::cuboidLayout(6, dims), oracle::cuboidPage, state.viewAngle);
    }
};

// The side colours of this program.
const int32_t (&sides)[6] = oracle::cuboidSides[CUBOID_VARIANT];

bool usable(const oracle::SeenSticker& s) { return s.minEdge >= 8 && s.facing >= 0.15; }

int16_t px(double v) { return static_cast<int16_t>(std::lround(v)); }

}  // namespace

TEST_F(SUITE(Paint), EveryVisibleStickerShowsItsSideColourAtItsCentre) {
    for (const int angle : {45, 160, -70}) {
        state.viewAngle[1] = angle;
        paint(0, 0, 0);
        int checked = 0;
        for (const oracle::SeenSticker& s : seenStickers()) {
            if (!usable(s)) continue;
            ++checked;
            EXPECT_EQ(get_pixel(px(s.x), px(s.y)), sides[s.face])
                << "view " << angle << ": sticker (" << s.i << ", " << s.j << ", " << s.k << ") face " << s.face;
        }
        EXPECT_GT(checked, 30);
        EXPECT_EQ(get_pixel(2, 2), 0) << "background";
    }
}

TEST_F(SUITE(Paint), PressedStickerIsBlackOnlyInTheHighlightingProgram) {
    const oracle::SeenSticker s = seenStickers()[10];
    double x = s.x, y = s.y;
    s.towardEdge(0, 0.5, x, y);  // off the diagonal a face of two triangles has
    paint(px(x), px(y), 1);
    EXPECT_EQ(get_pixel(px(x), px(y)), variant.blackensPressed ? colourBlack : sides[s.face]);
    paint(px(x), px(y), 0);
    EXPECT_EQ(get_pixel(px(x), px(y)), sides[s.face]);
}

// The save key marks the picture with a red disc of radius 30 at (40, 40) while it writes, the load key with a
// green one; the disc is drawn over the finished picture, whether or not the load then succeeds.
TEST_F(SUITE(Paint), SaveAndLoadKeysMarkThePictureWithABusyDisc) {
    char pattern[] = "/tmp/cuboid-paint-XXXXXX";
    const std::filesystem::path dir = mkdtemp(pattern), old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    struct Case {
        const char* name;
        uint8_t key;
        int32_t colour;
        bool fileMissing;
    } const cases[] = {
        {"save", 'k', colourRed, false},
        {"load", 'l', colourGreen, false},
        {"load of a missing file", 'l', colourGreen, true},
    };
    for (const Case& c : cases) {
        if (c.fileMissing) std::filesystem::remove("SALVARE.TXT");
        clear_page();
        playFrame(FrameInput{.key = c.key});
        // Inside the disc up to its rim, nothing a pixel beyond it: the picture starts far to the right.
        for (const auto& [x, y] : {std::pair{40, 40}, {10, 40}, {70, 40}, {40, 10}, {40, 70}, {61, 61}})
            EXPECT_EQ(get_pixel(int16_t(x), int16_t(y)), c.colour) << c.name << " at " << x << ", " << y;
        for (const auto& [x, y] : {std::pair{9, 40}, {71, 40}, {40, 9}, {40, 71}, {63, 63}})
            EXPECT_EQ(get_pixel(int16_t(x), int16_t(y)), 0) << c.name << " at " << x << ", " << y;
    }
    std::filesystem::current_path(old);
    std::filesystem::remove_all(dir);
}

#if CUBOID_VARIANT == 0
namespace {

struct Spot {
    double x, y;
};

// The point sixths/6 of the way from corner a to corner b of a sticker.
Spot along(const oracle::SeenSticker& s, int a, int b, int sixths) {
    return Spot{s.cornerX[a] + sixths * (s.cornerX[b] - s.cornerX[a]) / 6,
                s.cornerY[a] + sixths * (s.cornerY[b] - s.cornerY[a]) / 6};
}

Spot midpoint(const Spot& a, const Spot& b) { return Spot{(a.x + b.x) / 2, (a.y + b.y) / 2}; }

}  // namespace

// A dice face shows as many pips as its side's place in the side table (+z 1, -z 2, -x 3, +x 4, -y 5, +y 6), white
// for odd counts and red for even ones, on dark grey: the centre for odd counts, a pair along the diagonal from
// corner 0 for two and more, the pair along the other diagonal from four, and the two middles for six. Every spot
// where a pip may stand is checked, with a pip or without. Four views show every side.
TEST_F(SUITE(Paint), EveryDiceFaceShowsItsCountOfPipsInItsColour) {
    state.diceMode = true;
    const int32_t views[4][2] = {{45, 45}, {225, 45}, {45, 225}, {225, 225}};  // angles about x and y
    int checkedPerSide[6] = {};
    for (const auto& angles : views) {
        state.viewAngle[0] = angles[0];
        state.viewAngle[1] = angles[1];
        paint(0, 0, 0);
        for (const oracle::SeenSticker& s : seenStickers()) {
            // Pip radius: a ninth of the smaller extent from corner 0; a tiny pip is no fair test of a rounded spot.
            const double wx = std::max(std::abs(s.cornerX[0] - s.cornerX[1]), std::abs(s.cornerX[0] - s.cornerX[3]));
            const double wy = std::max(std::abs(s.cornerY[0] - s.cornerY[1]), std::abs(s.cornerY[0] - s.cornerY[3]));
            if (!usable(s) || std::min(wx, wy) / 9 < 3) continue;
            const int pips = s.face + 1;
            const int32_t pip = pips % 2 == 1 ? colourWhite : colourRed;
            const Spot a = along(s, 0, 2, 1), b = along(s, 0, 2, 5), c = along(s, 1, 3, 1), d = along(s, 1, 3, 5);
            const struct {
                const char* name;
                Spot at;
                bool shown;
            } spots[] = {
                {"centre", {s.x, s.y}, pips % 2 == 1},
                {"first diagonal, near corner 0", a, pips > 1},
                {"first diagonal, near corner 2", b, pips > 1},
                {"second diagonal, near corner 1", c, pips > 3},
                {"second diagonal, near corner 3", d, pips > 3},
                {"middle of the corner 0 row", midpoint(a, d), pips > 5},
                {"middle of the corner 1 row", midpoint(c, b), pips > 5},
            };
            for (const auto& spot : spots)
                EXPECT_EQ(get_pixel(px(spot.at.x), px(spot.at.y)), spot.shown ? pip : colourDarkGrey)
                    << "face " << s.face << " of (" << s.i << ", " << s.j << ", " << s.k << "), " << spot.name;
            ++checkedPerSide[s.face];
        }
    }
    for (int face = 0; face < 6; ++face) EXPECT_GE(checkedPerSide[face], 4) << "face " << face;
}
#endif
