// Recorded games played again in the window, under the shared private X server: a game played live with --record
// and then replayed with --replay ends on the same picture, and a game killed while it was recording replays to
// its last whole frame and says it is incomplete.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/x11_support.h"
#include "tests/support/xdriver/wait.h"

namespace {

// Generous: pentagir's turn is 2500 unpaced frames, and software OpenGL shares the machine with other tests.
constexpr int turnTimeoutMs = 120000;

std::string program(const std::string& name) { return std::string(PROGRAMS_DIR) + "/" + name; }

// An empty folder of the test's own, for the program's working directory and the recording.
class Folder {
public:
    Folder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "replay-e2e-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~Folder() { std::filesystem::remove_all(path_); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool isBlack(const xdrive::Image& image, size_t pixel) {
    return image.rgb[3 * pixel] == 0 && image.rgb[3 * pixel + 1] == 0 && image.rgb[3 * pixel + 2] == 0;
}

// cube3d shows the sticker under the held left button dark (a tenth of full light); no sticker colour is that dark.
bool isPressedDark(const xdrive::Image& image, size_t pixel) {
    const uint8_t* p = &image.rgb[3 * pixel];
    return p[0] < 48 && p[1] < 48 && p[2] < 48 && !isBlack(image, pixel);
}

// A layer at rest covers the pixels it covered before it turned, and the outlines between stickers lie where they
// lay, so the black pixels (background and outlines) are the same, but for at most slack pixels; any angle short of
// the end moves more of them. Only the colours have changed, and the button that started the turn has been let go.
xtest::Picture turnedAtRest(const xdrive::Image& before, int slack) {
    return [&before, slack](const xdrive::Image& now) {
        if (now.rgb.size() != before.rgb.size() || now.rgb == before.rgb) return false;
        int moved = 0;
        for (size_t p = 0; p < now.rgb.size() / 3; ++p)
            if ((isBlack(now, p) != isBlack(before, p) && ++moved > slack) || isPressedDark(now, p)) return false;
        return true;
    };
}
xtest::Picture differsFrom(const xdrive::Image& before) {
    return [&before](const xdrive::Image& now) { return !now.rgb.empty() && now.rgb != before.rgb; };
}
xtest::Picture sameAs(const xdrive::Image& picture) {
    return [&picture](const xdrive::Image& now) { return now.rgb == picture.rgb; };
}
bool drawn(const xdrive::Image& now) {
    for (size_t p = 0; p < now.rgb.size() / 3; ++p)
        if (!isBlack(now, p)) return true;
    return false;
}

struct Game {
    const char* what;  // the program
    const char* title;
    bool resize;  // s first: the cube programs' next size, 2
    int turn[4];  // a left drag from a sticker onto a sticker that turns a layer
    int view[4];  // a right drag that turns the view, in one move
    int slack;    // outline pixels that may differ at rest after a turn (see turnedAtRest)
};
void PrintTo(const Game& game, std::ostream* out) { *out << game.what; }

class LiveAndReplayed : public testing::TestWithParam<Game> {};

// The game: s (the cube programs), a turn, a view drag, a second of rest, Escape. Each step is awaited by what it
// shows, and every step ends in a still picture (a key, a whole turn, a view drag made of one move), so the
// picture captured after the last step is the one the game ends on.
TEST_P(LiveAndReplayed, TheReplayEndsOnTheLiveGamesLastPicture) {
    const Game& game = GetParam();
    Folder folder;
    const std::string recording = folder.path() + "/game.rec";
    xdrive::Image start, before, turned, last;
    {
        xtest::ProgramWindow live;
        ASSERT_TRUE(live.start({program(game.what), "--record", recording}, game.title, xdrive::Output::Inherit,
                               folder.path()));
        xdrive::Driver& driver = live.driver();
        ASSERT_TRUE(live.waitForPicture(drawn, "the puzzle", 10000, &start));
        before = start;
        if (game.resize) {
            ASSERT_TRUE(driver.tap("s")) << driver.error();
            ASSERT_TRUE(live.waitForPicture(differsFrom(start), "the next size", 10000, &before));
        }
        const int* t = game.turn;
        ASSERT_TRUE(driver.drag(1, t[0], t[1], t[2], t[3])) << driver.error();
        // The view drag's press must count no motion: the pointer waits where it starts while the layer turns.
        ASSERT_TRUE(driver.move(game.view[0], game.view[1])) << driver.error();
        ASSERT_TRUE(
            live.waitForPicture(turnedAtRest(before, game.slack), "the turned layer at rest", turnTimeoutMs, &turned));
        ASSERT_TRUE(driver.press(3) && driver.move(game.view[2], game.view[3])) << driver.error();
        ASSERT_TRUE(live.waitForPicture(differsFrom(turned), "the turned view", 10000, &last));
        ASSERT_TRUE(driver.release(3)) << driver.error();
        // A second of rest, so that the replay too shows its last picture for a while before it ends.
        xdrive::pause(1000);
        const xdrive::Image still = live.capture();
        ASSERT_TRUE(sameAs(last)(still)) << "the game was still moving: " << xtest::keepCapture(last, "last") << ", "
                                         << xtest::keepCapture(still, "a second later");
        ASSERT_TRUE(live.endWithEscape());
    }
    xtest::ProgramWindow replay;
    ASSERT_TRUE(replay.start({program(game.what), "--replay", recording}, game.title, xdrive::Output::Stdout));
    EXPECT_TRUE(replay.waitForPicture(sameAs(last), "the live game's last picture", turnTimeoutMs))
        << "live: " << xtest::keepCapture(last, "live");
    std::string verdict;
    ASSERT_TRUE(replay.program().readLine(verdict, turnTimeoutMs)) << replay.program().error();
    EXPECT_EQ(verdict.rfind("replay " + recording + ": ", 0), 0u) << verdict;
    EXPECT_EQ(verdict.substr(verdict.size() - 8), " matches") << verdict;
    int status = -1;
    ASSERT_TRUE(replay.program().waitExit(10000, status)) << replay.program().error();
    EXPECT_EQ(status, 0) << verdict;
}

// cuboid-c's own projection rounds the turned corners anew, so a few pixels along its outline fall the other way
// than before the turn; its turn steps 5 degrees a frame, which moves hundreds.
INSTANTIATE_TEST_SUITE_P(
    Programs, LiveAndReplayed,
    testing::Values(Game{"pentagir", "PENTAGIR", false, {345, 122, 388, 128}, {560, 420, 600, 400}, 0},
                    Game{"cube3d", "ZADOR TOLAN", true, {320, 195, 430, 130}, {560, 420, 590, 400}, 0},
                    Game{"cuboid-c", "ZADOR TOLAN", true, {320, 195, 430, 130}, {560, 420, 590, 400}, 32}),
    xtest::caseName<Game>);

// The frames whose last line is whole: a frame line, a change line, or a run line's count of frames.
size_t wholeFrames(const std::string& text) {
    size_t frames = 0;
    for (size_t at = 0, next; (next = text.find('\n', at)) != std::string::npos; at = next + 1) {
        if (text[at] == 'F' || text[at] == 'D') ++frames;
        if (text[at] == 'R') frames += std::stoul(text.substr(at + 2, next - at - 2));
    }
    return frames;
}

// Killed while recording, a game keeps what was handed to the system (at least once a second): the replay plays
// those frames and says the recording is incomplete.
TEST(KilledWhileRecording, TheReplayPlaysItsWholeFramesAndSaysItIsIncomplete) {
    Folder folder;
    const std::string recording = folder.path() + "/killed.rec";
    xtest::ProgramWindow live;
    ASSERT_TRUE(live.start({program("cuboid-c"), "--record", recording}, "ZADOR TOLAN", xdrive::Output::Inherit,
                           folder.path()));
    xdrive::Image start;
    ASSERT_TRUE(live.waitForPicture(drawn, "the puzzle", 10000, &start));
    ASSERT_TRUE(live.driver().tap("s")) << live.driver().error();
    ASSERT_TRUE(live.waitForPicture(differsFrom(start), "the next size", 10000));
    // The frame that took s (key 115) is in the file, and the game goes on past it.
    ASSERT_TRUE(xdrive::waitUntil([&] { return readFile(recording).find("=115\n") != std::string::npos; }, 10000));
    live.program().kill();
    ASSERT_EQ(live.program().endSignal(), SIGKILL);

    const std::string text = readFile(recording);
    ASSERT_EQ(text.find("\nend "), std::string::npos) << "a killed game writes no end line";
    xdrive::Program replay;
    ASSERT_TRUE(replay.start("", {program("cuboid-c"), "--replay", recording, "--headless"}, xdrive::Output::Stdout));
    std::string verdict;
    ASSERT_TRUE(replay.readLine(verdict, 60000)) << replay.error();
    const std::string played =
        "replay " + recording + ": incomplete: played " + std::to_string(wholeFrames(text)) + " frames, digest ";
    EXPECT_EQ(verdict.rfind(played, 0), 0u) << verdict;
    EXPECT_EQ(verdict.size(), played.size() + 16) << verdict;
    int status = -1;
    ASSERT_TRUE(replay.waitExit(60000, status)) << replay.error();
    EXPECT_EQ(status, 1);
}

}  // namespace
