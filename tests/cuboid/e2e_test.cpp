// The built cuboid programs on the test's private X server, played through the X driver: what a player sees at start,
// after a drag, a view drag and each key, and what the save key and the close button leave in the working
// directory. Every expected colour comes from the side-colour table and the projection rules, worked out in
// expected_picture.h, never from a capture of the programs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/cuboid/expected_picture.h"
#include "tests/support/x11_support.h"
#include "tests/support/xdriver/driver.h"
#include "tests/support/xdriver/png.h"
#include "tests/support/xdriver/process.h"
#include "tests/support/xdriver/wait.h"

namespace {

constexpr int windowTimeoutMs = 8000;
// A quarter turn at 60 frames a second takes 0.3 s, a scramble of thirty 9 s; the waits end as soon as the picture
// is there and leave room for a busy machine.
constexpr int pictureTimeoutMs = 5000;
constexpr int saveTimeoutMs = 3000;
// The programs read the pointer once a frame and show nothing for a pointer at rest, so there is no picture to
// wait for before a drag: a few frames' time lets them take the rest position, so that no frame counts the jump
// to the press point as motion of the drag.
constexpr int restMs = 200;

std::string program(int index) { return std::string(CUBOID_BIN_DIR) + "/cuboid-" + char('a' + index); }

xdrive::Rgb rgbOf(int entry) {
    const expected::Rgb c = expected::paletteRgb(entry);
    return xdrive::Rgb{uint8_t(c.r), uint8_t(c.g), uint8_t(c.b)};
}

bool usable(const expected::Sticker& s) { return s.minEdge >= 10 && s.facing >= 0.2; }

// Colour the solved puzzle shows on a sticker, by the side-colour table of the program.
int sideColour(int programIndex, int face) { return expected::sideColours[programIndex][face]; }

int lineCount(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int lines = 0;
    for (size_t p = 0; (p = all.find("\r\n", p)) != std::string::npos; p += 2) ++lines;
    return lines;
}

using ColourOf = int (*)(int programIndex, const expected::Sticker&);

const expected::View startView{};

// One program on the shared X server in its own empty working directory.
class Session {
public:
    explicit Session(int programIndex) : index_(programIndex) {
        char pattern[] = "/tmp/cuboid-e2e-XXXXXX";
        dir_ = mkdtemp(pattern);
    }
    ~Session() {
        window_.program().kill();
        std::filesystem::remove_all(dir_);
    }

    // Starts the program and waits for its window and its start picture.
    ::testing::AssertionResult start() {
        ::testing::AssertionResult started =
            window_.start({program(index_)}, "ZADOR TOLAN", xdrive::Output::Inherit, dir_, windowTimeoutMs);
        if (!started) return started;
        return shows(startView, "the start picture");
    }

    xdrive::Driver& driver() { return window_.driver(); }
    xdrive::Program& process() { return window_.program(); }
    xtest::ProgramWindow& window() { return window_; }
    std::string file(const char* name) const { return dir_ + "/" + name; }
    xdrive::Image capture() { return window_.capture(); }

    // Waits until every usable sticker of the view shows the colour colourOf gives it (the solved puzzle's side
    // colour when colourOf is null); the failure lists the stickers that did not.
    ::testing::AssertionResult shows(const expected::View& view, const std::string& what, ColourOf colourOf = nullptr) {
        std::string detail;
        ::testing::AssertionResult seen = window_.waitForPicture(
            [&](const xdrive::Image& image) {
                detail.clear();
                return mismatches(image, view, detail, colourOf) == 0;
            },
            what, pictureTimeoutMs);
        if (!seen) seen << ":" << detail;
        return seen;
    }

    // Stickers of the view whose centre does not show the expected colour, listed in detail.
    int mismatches(const xdrive::Image& image, const expected::View& view, std::string& detail,
                   ColourOf colourOf = nullptr) const {
        int wrong = 0, checked = 0;
        for (const expected::Sticker& s : expected::visibleStickers(view)) {
            if (!usable(s)) continue;
            ++checked;
            const int entry = colourOf ? colourOf(index_, s) : sideColour(index_, s.face);
            const xdrive::Rgb want = rgbOf(entry);
            const xdrive::Rgb got = image.pixel(int(std::lround(s.x)), int(std::lround(s.y)));
            if (got == want) continue;
            ++wrong;
            std::ostringstream out;
            out << " sticker (" << s.i << "," << s.j << "," << s.k << ") face " << s.face << " at (" << std::lround(s.x)
                << "," << std::lround(s.y) << "): want " << want << " got " << got << ";";
            detail += out.str();
        }
        if (checked == 0) detail += " no sticker was checked";
        return checked == 0 ? 1 : wrong;
    }

    bool centreOf(const expected::View& view, int i, int j, int k, int face, int& x, int& y) const {
        for (const expected::Sticker& s : expected::visibleStickers(view))
            if (s.i == i && s.j == j && s.k == k && s.face == face) {
                x = int(std::lround(s.x));
                y = int(std::lround(s.y));
                return true;
            }
        return false;
    }

private:
    int index_;
    std::string dir_;
    xtest::ProgramWindow window_;
};

// The named colour red (255, 0, 0) drawn as its nearest palette entry, FC 00 00 of the first hue ring.
const xdrive::Rgb red{252, 0, 0};

// Waits until the window shows colour want at (x, y).
::testing::AssertionResult showsAt(Session& session, int x, int y, xdrive::Rgb want, const std::string& what) {
    return session.window().waitForPicture([&](const xdrive::Image& i) { return i.pixel(x, y) == want; }, what,
                                           pictureTimeoutMs);
}

}  // namespace

class CuboidStartPicture : public ::testing::TestWithParam<int> {};

TEST_P(CuboidStartPicture, ShowsThreeSidesInTheProgramsColours) {
    Session session(GetParam());
    ASSERT_TRUE(session.start());  // which waits for the three sides in the program's colours
    // The corner nearest the eye is where the three sides meet; the picture's corners are background.
    EXPECT_EQ(session.capture().pixel(5, 5), rgbOf(0));
}

INSTANTIATE_TEST_SUITE_P(Programs, CuboidStartPicture, ::testing::Values(0, 1, 2),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string("cuboid_") + char('a' + info.param);
                         });

// A drag on the +z side (right on screen) toward +x (up on screen) carries row j = 3 of that side over to +x and
// brings the -x side's row round to +z. The save made before it comes back with the load key.
TEST(CuboidA, LeftDragTurnsTheLayerAndTheLoadKeyBringsBackTheSave) {
    Session session(0);
    ASSERT_TRUE(session.start());
    xdrive::Driver& d = session.driver();
    ASSERT_TRUE(d.tap("k"));
    const std::string save = session.file("SALVARE.TXT");
    ASSERT_TRUE(xdrive::waitUntil([&] { return lineCount(save) == 1301; }, saveTimeoutMs))
        << "the save has " << lineCount(save) << " lines, not 1301";

    int x1, y1, x2, y2;
    ASSERT_TRUE(session.centreOf(startView, 2, 3, 5, 0, x1, y1));
    ASSERT_TRUE(session.centreOf(startView, 3, 3, 5, 0, x2, y2));
    ASSERT_TRUE(d.move(x1, y1));
    xdrive::pause(restMs);
    ASSERT_TRUE(d.drag(1, x1, y1, x2, y2));
    auto turned = [](int, const expected::Sticker& s) {
        if (s.face == 3 && s.j == 3) return 15;  // white came over from +z
        if (s.face == 0 && s.j == 3) return 2;   // green came round from -x
        return expected::sideColours[0][s.face];
    };
    EXPECT_TRUE(session.shows(startView, "the turned layer", turned));

    ASSERT_TRUE(d.tap("l"));
    EXPECT_TRUE(session.shows(startView, "the solved puzzle of the save, loaded"));
}

// One degree of view turn per pixel: 90 pixels to the right turn the view a quarter about x, which brings the
// -z side (yellow) into view where +z was. The button stays down until the picture shows it, so that a frame has
// counted the last move before the release.
TEST(CuboidA, RightDragTurnsTheView) {
    Session session(0);
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.driver().move(100, 400));
    xdrive::pause(restMs);
    expected::View turned;
    turned.angle[0] = 45 + 90;
    std::string ignored;
    EXPECT_TRUE(session.window().dragHoldUntil(
        3, 100, 400, 190, 400, [&](const xdrive::Image& i) { return session.mismatches(i, turned, ignored) == 0; },
        "the view turned a quarter", pictureTimeoutMs));
    bool yellowSeen = false;
    for (const expected::Sticker& s : expected::visibleStickers(turned)) yellowSeen |= s.face == 1 && usable(s);
    EXPECT_TRUE(yellowSeen);
}

// s: 6 goes round to 2; z, x and c take one layer off their axis each. Ctrl+Left arrives as the pair 0, 115 and
// acts as s; an upper-case S does nothing, which the z after it shows: it thins the 4-cube, not a 5-cube.
TEST(CuboidA, SizeAndShapeKeysRebuildTheCuboid) {
    Session session(0);
    ASSERT_TRUE(session.start());
    struct Step {
        const char* key;
        int gridSize, dims[3];
    } steps[] = {{"s", 2, {2, 2, 2}},         {"s", 3, {3, 3, 3}}, {"z", 3, {2, 3, 3}},
                 {"x", 3, {2, 2, 3}},         {"c", 3, {2, 2, 2}}, {"c", 3, {2, 2, 1}},
                 {"ctrl+Left", 4, {4, 4, 4}}, {"S", 4, {4, 4, 4}}, {"z", 4, {3, 4, 4}}};
    for (const Step& step : steps) {
        ASSERT_TRUE(session.driver().tap(step.key));
        expected::View view;
        view.gridSize = step.gridSize;
        for (int a = 0; a < 3; ++a) view.dims[a] = step.dims[a];
        EXPECT_TRUE(session.shows(view, std::string("the cuboid after ") + step.key));
    }
}

// Where d's dice pips do not show as they should on the start view: one white pip in the middle of each +z face
// (white, 1) and no diagonal pips; four red corner pips on each +x face (light blue, 4) and none in its middle.
std::string diceFaults(const xdrive::Image& dice) {
    std::ostringstream faults;
    int checked = 0;
    for (const expected::Sticker& s : expected::visibleStickers(startView)) {
        if (!usable(s) || (s.face != 0 && s.face != 3)) continue;
        // Pip radius: a ninth of the smaller of the face's extents from corner 0. Tiny pips are no fair test of
        // a position rounded by a pixel.
        const double wx = std::max(std::abs(s.cornerX[0] - s.cornerX[1]), std::abs(s.cornerX[0] - s.cornerX[3]));
        const double wy = std::max(std::abs(s.cornerY[0] - s.cornerY[1]), std::abs(s.cornerY[0] - s.cornerY[3]));
        if (std::min(wx, wy) / 9 < 3) continue;
        ++checked;
        const xdrive::Rgb middle = dice.pixel(int(std::lround(s.x)), int(std::lround(s.y)));
        // First pip of a diagonal pair: a sixth of the way from corner 0 to corner 2.
        const double ax = s.cornerX[0] + (s.cornerX[2] - s.cornerX[0]) / 6;
        const double ay = s.cornerY[0] + (s.cornerY[2] - s.cornerY[0]) / 6;
        const xdrive::Rgb pip = dice.pixel(int(std::lround(ax)), int(std::lround(ay)));
        const xdrive::Rgb wantMiddle = s.face == 0 ? rgbOf(15) : rgbOf(8);
        const xdrive::Rgb wantPip = s.face == 0 ? rgbOf(8) : red;
        if (middle != wantMiddle) faults << " face " << s.face << " middle " << middle << " not " << wantMiddle << ";";
        if (pip != wantPip) faults << " face " << s.face << " corner pip " << pip << " not " << wantPip << ";";
    }
    if (checked < 8) faults << " only " << checked << " faces were large enough to check";
    return faults.str();
}

// d shows dice, d again brings the colours back; a starts the scramble.
TEST(CuboidA, DiceAndScrambleKeys) {
    Session session(0);
    ASSERT_TRUE(session.start());
    xdrive::Driver& d = session.driver();
    ASSERT_TRUE(d.tap("d"));
    xdrive::Image dice;
    EXPECT_TRUE(session.window().waitForPicture([](const xdrive::Image& i) { return diceFaults(i).empty(); },
                                                "the dice", pictureTimeoutMs, &dice))
        << diceFaults(dice);
    ASSERT_TRUE(d.tap("d"));
    EXPECT_TRUE(session.shows(startView, "the colours again after the second d"));

    ASSERT_TRUE(d.tap("a"));
    std::string ignored;
    EXPECT_TRUE(session.window().waitForPicture(
        [&](const xdrive::Image& i) { return session.mismatches(i, startView, ignored) > 0; }, "a scramble",
        pictureTimeoutMs));
}

// cuboid-b paints the facet under the pressed left button black, only while it is pressed. It has no dice: after
// a d, the size key's 2-cube shows its side colours.
TEST(CuboidB, PressedStickerIsBlackWhileTheButtonIsDown) {
    Session session(1);
    ASSERT_TRUE(session.start());
    xdrive::Driver& d = session.driver();
    int x, y;
    ASSERT_TRUE(session.centreOf(startView, 2, 2, 5, 0, x, y));
    ASSERT_TRUE(d.move(x, y));
    ASSERT_TRUE(d.press(1));
    EXPECT_TRUE(showsAt(session, x, y, rgbOf(0), "the pressed sticker black"));
    ASSERT_TRUE(d.release(1));
    EXPECT_TRUE(showsAt(session, x, y, rgbOf(15), "the released sticker white again"));
    ASSERT_TRUE(d.tap("d"));
    ASSERT_TRUE(d.tap("s"));
    expected::View small;
    small.gridSize = 2;
    for (int& size : small.dims) size = 2;
    EXPECT_TRUE(session.shows(small, "the 2-cube in side colours, no dice"));
}

// The close button arrives as the key pair 0, 107, which the programs read as the save key: the window stays.
// Escape ends the program.
TEST(CuboidC, CloseButtonSavesAndEscapeEnds) {
    Session session(2);
    ASSERT_TRUE(session.start());
    xdrive::Driver& d = session.driver();
    ASSERT_TRUE(d.closeButton());
    const std::string save = session.file("SALVARE.TXT");
    EXPECT_TRUE(xdrive::waitUntil([&] { return lineCount(save) == 2597; }, saveTimeoutMs))
        << "the save has " << lineCount(save) << " lines, not 2597";
    std::ifstream in(save, std::ios::binary);
    std::string head(18, '\0');
    in.read(head.data(), 18);
    EXPECT_EQ(head, "6\r\n6\r\n6\r\n6\r\n2591\r\n");
    EXPECT_TRUE(d.windowExists());
    EXPECT_TRUE(session.process().running());

    ASSERT_TRUE(d.tap("Escape"));
    int status = -1;
    ASSERT_TRUE(session.process().waitExit(3000, status)) << session.process().error();
    EXPECT_EQ(status, 0);
}

// Without a display the program says why on its error output, under its own name, and ends with status 1.
TEST(CuboidA, NoDisplayEndsWithAMessage) { EXPECT_TRUE(xtest::endsForLackOfDisplay(program(0), "cuboid-a")); }
