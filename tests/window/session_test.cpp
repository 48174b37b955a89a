// The layer's recordings and replays on the null backend: the answers a program gets from a recording, where a
// replay notices that the program went another way, and a game recorded and played back. No display needed.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "window/window.h"

namespace {

std::string writeFile(const std::string& name, const std::string& text) {
    const std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Three frames: the seed and a held A; a moved mouse and the key a; a load of SAVE and Escape held.
const std::string handMade = R"(twisty-recording 1
program demo
version 1
seed 77
F c=77 x=5 h65=1
F x=6 h65=0 t=97
L SAVE 3
B 616263
F h27=1
end 3 00000000000000ff
)";

void openNullWindow() {
    use_null_backend();
    int16_t driver = driverPalette, mode = size640x480;
    open_window(driver, mode, "demo");
    ASSERT_EQ(graph_status(), grOk) << window_error();
    set_gl_drawing(true);
    EXPECT_EQ(graph_status(), grOk) << "the null backend draws GL into nothing";
}

int32_t finish(uint64_t digest, std::string& out) {
    testing::internal::CaptureStdout();
    const int32_t status = finish_session(digest);
    out = testing::internal::GetCapturedStdout();
    close_window();
    return status;
}

TEST(Session, AReplayAnswersEveryQueryFromTheRecording) {
    const std::string path = writeFile("hand.rec", handMade);
    char error[512] = "";
    ASSERT_TRUE(start_replay(path.c_str(), "demo", replayHeadless, error, sizeof error)) << error;
    openNullWindow();
    EXPECT_EQ(tick_count(), 77u);
    EXPECT_EQ(mouse_x(), 5);
    EXPECT_TRUE(key_held(keyLetter('A')));
    present_frame(presentSwap);
    EXPECT_EQ(mouse_x(), 6);
    EXPECT_FALSE(key_held(keyLetter('A')));
    EXPECT_EQ(take_key(), 'a');
    present_frame(presentSwap);
    EXPECT_TRUE(replaying());
    uint8_t bytes[8] = {};
    size_t size = 0;
    char reason[64] = "";
    EXPECT_TRUE(replayed_load("SAVE", bytes, sizeof bytes, size, reason, sizeof reason)) << reason;
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), size), "abc");
    EXPECT_TRUE(key_held(keyEscape));
    std::string out;
    EXPECT_EQ(finish(0xff, out), 0);
    EXPECT_EQ(out, "replay " + path + ": 3 frames, digest 00000000000000ff matches\n");
}

TEST(Session, AReplayNamesTheFirstFrameWhereTheProgramAskedSomethingElse) {
    const std::string path = writeFile("diverging.rec", handMade);
    char error[512] = "";
    ASSERT_TRUE(start_replay(path.c_str(), "demo", replayHeadless, error, sizeof error)) << error;
    openNullWindow();
    tick_count();
    mouse_x();
    key_held(keyLetter('A'));
    present_frame(presentSwap);
    mouse_x();
    EXPECT_FALSE(key_held(keyLetter('B'))) << "another key than the recorded one is answered neutrally";
    EXPECT_EQ(mouse_y(), 0) << "another query than the recorded one is answered neutrally";
    present_frame(presentSwap);
    key_held(keyEscape);  // the load is left out
    present_frame(presentSwap);
    // The recording has run out: the program is told Escape until it ends, however it asks.
    EXPECT_TRUE(key_held(keyEscape));
    EXPECT_TRUE(key_waiting());
    EXPECT_EQ(take_key(), keyEscape);
    EXPECT_EQ(next_key_byte(), keyEscape);
    std::string out;
    EXPECT_EQ(finish(0xff, out), 1);
    EXPECT_EQ(out, "replay " + path +
                       ": 3 frames, digest 00000000000000ff matches the recorded 00000000000000ff; first difference "
                       "at frame 1\n");
}

TEST(Session, ARecordingCutShortPlaysItsWholeFramesAndSaysSo) {
    // Cut inside the bytes of the last frame's load: that frame is not played at all.
    const std::string cut = handMade.substr(0, handMade.find("B 616263") + 4);
    const std::string path = writeFile("cut.rec", cut);
    char error[512] = "";
    ASSERT_TRUE(start_replay(path.c_str(), "demo", replayHeadless, error, sizeof error)) << error;
    openNullWindow();
    EXPECT_EQ(tick_count(), 77u);
    mouse_x();
    key_held(keyLetter('A'));
    present_frame(presentSwap);
    mouse_x();
    key_held(keyLetter('A'));
    EXPECT_EQ(take_key(), 'a');
    present_frame(presentSwap);
    EXPECT_TRUE(key_held(keyEscape));
    EXPECT_EQ(take_key(), keyEscape);
    std::string out;
    EXPECT_EQ(finish(0x1234, out), 1);
    EXPECT_EQ(out, "replay " + path + ": incomplete: played 2 frames, digest 0000000000001234\n");
}

TEST(Session, AGameRecordedPlaysBackToTheSameAnswers) {
    const std::string path = testing::TempDir() + "round.rec";
    std::remove(path.c_str());
    char error[512] = "";
    ASSERT_TRUE(start_recording(path.c_str(), "demo", "1.0", error, sizeof error)) << error;
    openNullWindow();
    const uint32_t seed = tick_count();
    for (int frame = 0; frame < 300; ++frame) {
        mouse_x();
        key_held(keyLetter('A'));
        if (frame == 100) record_load("SALVARE.TXT", reinterpret_cast<const uint8_t*>("12\r\n"), 4, nullptr);
        if (frame == 200) record_load("SALVARE.TXT", nullptr, 0, "2 No such file or directory");
        present_frame(presentSwap);
    }
    key_held(keyEscape);
    std::string out;
    ASSERT_EQ(finish(0xabc, out), 0);
    EXPECT_EQ(out, "");

    ASSERT_TRUE(start_replay(path.c_str(), "demo", replayHeadless, error, sizeof error)) << error;
    openNullWindow();
    EXPECT_EQ(tick_count(), seed) << "the first clock reading is the seed";
    for (int frame = 0; frame < 300; ++frame) {
        mouse_x();
        key_held(keyLetter('A'));
        uint8_t bytes[8];
        size_t size = 0;
        char reason[64] = "";
        if (frame == 100) {
            EXPECT_TRUE(replayed_load("SALVARE.TXT", bytes, sizeof bytes, size, reason, sizeof reason));
            EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), size), "12\r\n");
        }
        if (frame == 200) {
            EXPECT_FALSE(replayed_load("SALVARE.TXT", bytes, sizeof bytes, size, reason, sizeof reason));
            EXPECT_STREQ(reason, "2 No such file or directory");
        }
        present_frame(presentSwap);
    }
    key_held(keyEscape);
    EXPECT_EQ(finish(0xabc, out), 0);
    EXPECT_EQ(out, "replay " + path + ": 301 frames, digest 0000000000000abc matches\n");
}

}  // namespace
