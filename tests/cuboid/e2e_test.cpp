// The built cuboid programs under a private X server, played through the X driver: what a player sees at start,
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
#include <memory>
#include <sstream>
#include <string>

#include "expected_picture.h"
#include "xdriver.h"

namespace {

// Frames of a quarter turn at 60 a second take 0.3 s; the waits leave room for a busy machine.
constexpr int turnWaitMs = 900;
constexpr int firstFramesMs = 600;

std::string program(int index) { return std::string(CUBOID_BIN_DIR) + "/cuboid-" + char('a' + index); }

xdrive::Rgb rgbOf(int entry) {
    const expected::Rgb c = expected::paletteRgb(entry);
    return xdrive::Rgb{uint8_t(c.r), uint8_t(c.g), uint8_t(c.b)};
}

std::string describe(const xdrive::Rgb& c) {
    std::ostringstream out;
    out << "(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
    return out.str();
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

// One program in its own X server and its own empty working directory.
class Session {
public:
    explicit Session(int programIndex) : index_(programIndex), driver_(nullptr) {
        char pattern[] = "/tmp/cuboid-e2e-XXXXXX";
        dir_ = mkdtemp(pattern);
    }
    ~Session() {
        program_.kill();
        std::filesystem::remove_all(dir_);
    }

    // Starts the program and waits for its window and first frames.
    ::testing::AssertionResult start() {
        if (!server_.ok()) return ::testing::AssertionFailure() << server_.error();
        if (!program_.start(server_.name(), {program(index_)}, xdrive::Output::Inherit, dir_))
            return ::testing::AssertionFailure() << program_.error();
        driver_ = std::make_unique<xdrive::Driver>(server_.name());
        if (!driver_->findWindow("ZADOR TOLAN", 8000, program_.pid()))
            return ::testing::AssertionFailure() << driver_->error();
        xdrive::pause(firstFramesMs);
        return ::testing::AssertionSuccess();
    }

    xdrive::Driver& driver() { return *driver_; }
    xdrive::Program& process() { return program_; }
    std::string file(const char* name) const { return dir_ + "/" + name; }

    xdrive::Image capture() {
        xdrive::Image image;
        EXPECT_TRUE(driver_->capture(image)) << driver_->error();
        return image;
    }

    // Stickers of the solved puzzle whose centre does not show the expected colour, listed in detail.
    int mismatches(const xdrive::Image& image, const expected::View& view, std::string& detail,
                   int (*colourOf)(int programIndex, const expected::Sticker&) = nullptr) const {
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
            out << " sticker (" << s.i << "," << s.j << "," << s.k << ") face " << s.face << " at ("
                << std::lround(s.x) << "," << std::lround(s.y) << "): want " << describe(want) << " got "
                << describe(got) << ";";
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
    xdrive::XServer server_;
    xdrive::Program program_;
    std::unique_ptr<xdrive::Driver> driver_;
};

const expected::View startView{};

// The named colour red (255, 0, 0) drawn as its nearest palette entry, FC 00 00 of the first hue ring.
const xdrive::Rgb red{252, 0, 0};

}  // namespace

class CuboidStartPicture : public ::testing::TestWithParam<int> {};

TEST_P(CuboidStartPicture, ShowsThreeSidesInTheProgramsColours) {
    Session session(GetParam());
    ASSERT_TRUE(session.start());
    std::string detail;
    EXPECT_EQ(session.mismatches(session.capture(), startView, detail), 0) << detail;
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
    xdrive::pause(300);
    ASSERT_EQ(lineCount(session.file("SALVARE.TXT")), 1301);

    int x1, y1, x2, y2;
    ASSERT_TRUE(session.centreOf(startView, 2, 3, 5, 0, x1, y1));
    ASSERT_TRUE(session.centreOf(startView, 3, 3, 5, 0, x2, y2));
    ASSERT_TRUE(d.move(x1, y1));
    xdrive::pause(200);
    ASSERT_TRUE(d.drag(1, x1, y1, x2, y2));
    xdrive::pause(turnWaitMs);
    std::string detail;
    auto turned = [](int, const expected::Sticker& s) {
        if (s.face == 3 && s.j == 3) return 15;  // white came over from +z
        if (s.face == 0 && s.j == 3) return 2;   // green came round from -x
        return expected::sideColours[0][s.face];
    };
    EXPECT_EQ(session.mismatches(session.capture(), startView, detail, turned), 0) << detail;

    ASSERT_TRUE(d.tap("l"));
    xdrive::pause(400);
    detail.clear();
    EXPECT_EQ(session.mismatches(session.capture(), startView, detail), 0) << "after the load:" << detail;
}

// One degree of view turn per pixel: 90 pixels to the right turn the view a quarter about x, which brings the
// -z side (yellow) into view where +z was.
TEST(CuboidA, RightDragTurnsTheView) {
    Session session(0);
    ASSERT_TRUE(session.start());
    // The pointer rests first, so that no frame counts the jump to the press point as motion of the drag.
    ASSERT_TRUE(session.driver().move(100, 400));
    xdrive::pause(200);
    ASSERT_TRUE(session.driver().drag(3, 100, 400, 190, 400, 9));
    xdrive::pause(300);
    expected::View turned;
    turned.angle[0] = 45 + 90;
    std::string detail;
    EXPECT_EQ(session.mismatches(session.capture(), turned, detail), 0) << detail;
    bool yellowSeen = false;
    for (const expected::Sticker& s : expected::visibleStickers(turned)) yellowSeen |= s.face == 1 && usable(s);
    EXPECT_TRUE(yellowSeen);
}

// s: 6 goes round to 2; z, x and c take one layer off their axis each. Ctrl+Left arrives as the pair 0, 115 and
// acts as s; an upper-case S does nothing.
TEST(CuboidA, SizeAndShapeKeysRebuildTheCuboid) {
    Session session(0);
    ASSERT_TRUE(session.start());
    struct Step {
        const char* key;
        int gridSize, dims[3];
    } steps[] = {{"s", 2, {2, 2, 2}}, {"s", 3, {3, 3, 3}}, {"z", 3, {2, 3, 3}},
                 {"x", 3, {2, 2, 3}}, {"c", 3, {2, 2, 2}}, {"c", 3, {2, 2, 1}},
                 {"ctrl+Left", 4, {4, 4, 4}}, {"S", 4, {4, 4, 4}}};
    for (const Step& step : steps) {
        ASSERT_TRUE(session.driver().tap(step.key));
        xdrive::pause(300);
        expected::View view;
        view.gridSize = step.gridSize;
        for (int a = 0; a < 3; ++a) view.dims[a] = step.dims[a];
        std::string detail;
        EXPECT_EQ(session.mismatches(session.capture(), view, detail), 0) << "after " << step.key << ":" << detail;
    }
}

// d shows dice: dark grey faces, one white pip in the middle of +z (white, 1), four red corner pips on +x
// (light blue, 4) and none in its middle; d again brings the colours back. a starts the scramble.
TEST(CuboidA, DiceAndScrambleKeys) {
    Session session(0);
    ASSERT_TRUE(session.start());
    xdrive::Driver& d = session.driver();
    ASSERT_TRUE(d.tap("d"));
    xdrive::pause(300);
    const xdrive::Image dice = session.capture();
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
        if (s.face == 0) {
            EXPECT_EQ(middle, rgbOf(15)) << "one pip in the middle of a +z face";
            EXPECT_EQ(pip, rgbOf(8)) << "no diagonal pips on a +z face";
        } else {
            EXPECT_EQ(middle, rgbOf(8)) << "nothing in the middle of a +x face";
            EXPECT_EQ(pip, red) << "red corner pips on a +x face";
        }
    }
    EXPECT_GE(checked, 8);
    ASSERT_TRUE(d.tap("d"));
    xdrive::pause(300);
    std::string detail;
    EXPECT_EQ(session.mismatches(session.capture(), startView, detail), 0) << "dice mode off again:" << detail;

    ASSERT_TRUE(d.tap("a"));
    xdrive::pause(1500);
    detail.clear();
    EXPECT_GT(session.mismatches(session.capture(), startView, detail), 0) << "the scramble changed nothing";
}

// cuboid-b paints the facet under the pressed left button black, only while it is pressed.
TEST(CuboidB, PressedStickerIsBlackWhileTheButtonIsDown) {
    Session session(1);
    ASSERT_TRUE(session.start());
    xdrive::Driver& d = session.driver();
    int x, y;
    ASSERT_TRUE(session.centreOf(startView, 2, 2, 5, 0, x, y));
    ASSERT_TRUE(d.move(x, y));
    ASSERT_TRUE(d.press(1));
    xdrive::pause(200);
    EXPECT_EQ(session.capture().pixel(x, y), rgbOf(0));
    ASSERT_TRUE(d.release(1));
    xdrive::pause(200);
    EXPECT_EQ(session.capture().pixel(x, y), rgbOf(15));
    ASSERT_TRUE(d.tap("d"));  // no dice in this program
    xdrive::pause(200);
    std::string detail;
    EXPECT_EQ(session.mismatches(session.capture(), startView, detail), 0) << detail;
}

// The close button arrives as the key pair 0, 107, which the programs read as the save key: the window stays.
// Escape ends the program.
TEST(CuboidC, CloseButtonSavesAndEscapeEnds) {
    Session session(2);
    ASSERT_TRUE(session.start());
    xdrive::Driver& d = session.driver();
    ASSERT_TRUE(d.closeButton());
    xdrive::pause(600);
    EXPECT_EQ(lineCount(session.file("SALVARE.TXT")), 2597);
    std::ifstream in(session.file("SALVARE.TXT"), std::ios::binary);
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
TEST(CuboidA, NoDisplayEndsWithAMessage) {
    xdrive::Program process;
    ASSERT_TRUE(process.start("", {program(0)}, xdrive::Output::StdoutAndStderr)) << process.error();
    std::string line;
    ASSERT_TRUE(process.readLine(line, 5000)) << process.error();
    EXPECT_EQ(line.rfind("cuboid-a: ", 0), 0u) << line;
    EXPECT_GT(line.size(), std::string("cuboid-a: ").size()) << "the cause is missing";
    int status = -1;
    ASSERT_TRUE(process.waitExit(5000, status)) << process.error();
    EXPECT_EQ(status, 1);
}
