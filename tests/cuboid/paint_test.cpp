// The painted page itself, read back with get_pixel: every visible sticker shows its side's colour at its
// centre, which only holds when far facets are painted before near ones. Needs a window but no display: SDL's
// offscreen stand-in gives the layer real pages. Built once per program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "expected_picture.h"
#include "program.h"
#include "state.h"
#include "view.h"
#include "window.h"

#include "suite.h"

using namespace cuboid;

namespace {

class SUITE(Paint) : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        set_frame_rate(0);
        int16_t driver = 3, mode = 4;
        open_window(driver, mode, "cuboid paint test");
        if (window_last_x() <= 0) GTEST_SKIP() << "no window: " << window_error();
        select_draw_page(1);
        resetProgram(99);
    }
    void TearDown() override { close_window(); }

    void paint(int32_t x, int32_t y, int32_t buttons) {
        state.mouseX = x;
        state.mouseY = y;
        state.buttons = buttons;
        state.previousButtons = 0;
        clear_page();
        projectVertices();
        sortFacets();
        drawFacets();
    }

    static expected::View view() {
        expected::View v;
        for (int a = 0; a < 3; ++a) v.angle[a] = state.viewAngle[a];
        return v;
    }
};

bool usable(const expected::Sticker& s) { return s.minEdge >= 8 && s.facing >= 0.15; }

int16_t px(double v) { return static_cast<int16_t>(std::lround(v)); }

}  // namespace

TEST_F(SUITE(Paint), EveryVisibleStickerShowsItsSideColourAtItsCentre) {
    for (const int angle : {45, 160, -70}) {
        state.viewAngle[1] = angle;
        paint(0, 0, 0);
        int checked = 0;
        for (const expected::Sticker& s : expected::visibleStickers(view())) {
            if (!usable(s)) continue;
            ++checked;
            EXPECT_EQ(get_pixel(px(s.x), px(s.y)), variant.model.faceColours[s.face])
                << "view " << angle << ": sticker (" << s.i << ", " << s.j << ", " << s.k << ") face " << s.face;
        }
        EXPECT_GT(checked, 30);
        EXPECT_EQ(get_pixel(2, 2), 0) << "background";
    }
}

TEST_F(SUITE(Paint), PressedStickerIsBlackOnlyInTheHighlightingProgram) {
    const expected::Sticker s = expected::visibleStickers(view())[10];
    double x = s.x, y = s.y;
    s.towardEdge(0, 0.5, x, y);  // off the diagonal a face of two triangles has
    paint(px(x), px(y), 1);
    EXPECT_EQ(get_pixel(px(x), px(y)), variant.blackensPressed ? colourBlack : variant.model.faceColours[s.face]);
    paint(px(x), px(y), 0);
    EXPECT_EQ(get_pixel(px(x), px(y)), variant.model.faceColours[s.face]);
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
        playFrame(FrameInput{0, 0, 0, c.key});
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
// One white pip in the middle of a +z face (white, one), none in the middle of +x (light blue, four) but a red one
// a sixth of the way along its diagonal; the faces themselves dark grey.
TEST_F(SUITE(Paint), DiceFacesShowTheirPips) {
    state.diceMode = true;
    paint(0, 0, 0);
    int checked = 0;
    for (const expected::Sticker& s : expected::visibleStickers(view())) {
        // Pip radius: a ninth of the smaller extent from corner 0; a tiny pip is no fair test of a rounded position.
        const double wx = std::max(std::abs(s.cornerX[0] - s.cornerX[1]), std::abs(s.cornerX[0] - s.cornerX[3]));
        const double wy = std::max(std::abs(s.cornerY[0] - s.cornerY[1]), std::abs(s.cornerY[0] - s.cornerY[3]));
        if (!usable(s) || std::min(wx, wy) / 9 < 3) continue;
        const double ax = s.cornerX[0] + (s.cornerX[2] - s.cornerX[0]) / 6;
        const double ay = s.cornerY[0] + (s.cornerY[2] - s.cornerY[0]) / 6;
        const double qx = (s.cornerX[0] + s.cornerX[1] + s.x) / 3, qy = (s.cornerY[0] + s.cornerY[1] + s.y) / 3;
        if (s.face == 0) {
            EXPECT_EQ(get_pixel(px(s.x), px(s.y)), colourWhite);
            EXPECT_EQ(get_pixel(px(ax), px(ay)), colourDarkGrey);
        } else if (s.face == 3) {
            EXPECT_EQ(get_pixel(px(s.x), px(s.y)), colourDarkGrey);
            EXPECT_EQ(get_pixel(px(ax), px(ay)), colourRed);
        }
        EXPECT_NE(get_pixel(px(qx), px(qy)), variant.model.faceColours[s.face]) << "sticker colour in dice mode";
        ++checked;
    }
    EXPECT_GE(checked, 8);
}
#endif
