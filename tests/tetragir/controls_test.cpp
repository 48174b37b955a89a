// The frame loop without a window: drags start animated turns that land after 2500 frames, held keys, and the
// order in which a frame applies them.
#include <gtest/gtest.h>

#include "tests/support/press_during_turn.h"
#include "tests/tetragir/support.h"
#include "tetragir/program.h"
#include "tetragir/puzzle.h"
#include "tetragir/state.h"

namespace tetragir {
namespace {

class TetragirLoop : public ::testing::Test {
protected:
    void SetUp() override { resetProgram(5); }

    static FrameInput pointer(int32_t s, int32_t buttons) {
        FrameInput in{};
        if (s >= 0) {
            EXPECT_TRUE(centrePixel(state.camera, state.view, s, in.mouseX, in.mouseY));
        }
        in.buttons = buttons;
        return in;
    }
    static Colours solved() {
        Colours c;
        resetColours(c);
        return c;
    }
};

// Press on tip 0, move onto tip 9: tip 0's colour travels to tip 9 in the frame whose clock reaches the start
// plus 2.5, and a drag made meanwhile is not followed.
TEST_F(TetragirLoop, DragAnimatesATurnThatLandsAfter2500Frames) {
    playFrame(pointer(0, 1));
    EXPECT_EQ(state.hoveredSticker, 0);
    playFrame(pointer(9, 1));
    ASSERT_GE(state.clock.animStart, 0.0) << "the drag from tip 0 onto tip 9 starts a turn";
    EXPECT_EQ(state.animMove.layer, 0);
    EXPECT_EQ(state.animMove.count, 1);
    int32_t frames = 0;
    while (state.colours == solved() && frames < 3000) {
        // Tip 18 onto tip 0 would be a turn of its own if it were followed.
        playFrame(pointer(frames % 2 == 0 ? 18 : 0, 1));
        ++frames;
    }
    EXPECT_NEAR(frames, 2500, 1);
    Colours expected = solved();
    turn(expected, 0, 1);
    EXPECT_EQ(state.colours, expected);
    EXPECT_LT(state.clock.animStart, 0.0);
}

// The drag follows the pointer from frame to frame: leaving the model or crossing another sticker moves the drag
// on, and a new press starts a new drag.
TEST_F(TetragirLoop, OnlyADirectCrossingBetweenNeighboursTurns) {
    const int32_t paths[][3] = {{0, -1, 9}, {0, 2, 9}};  // stickers under the held left button, -1 off the model
    for (const auto& path : paths) {
        resetProgram(5);
        for (int32_t s : path) playFrame(pointer(s, 1));
        EXPECT_LT(state.clock.animStart, 0.0) << "0, " << path[1] << ", 9";
    }
    resetProgram(5);
    playFrame(pointer(0, 1));
    playFrame(pointer(0, 0));
    playFrame(pointer(9, 1));
    EXPECT_LT(state.clock.animStart, 0.0) << "release over tip 0 and press again over tip 9";
}

TEST_F(TetragirLoop, OfTwoOppositeViewKeysTheSecondNamedWins) {
    struct Case {
        const char* name;
        FrameInput both, alone;
    };
    FrameInput left{}, right{}, up{}, down{}, x{}, z{};
    left.left = right.right = up.up = down.down = x.spinX = z.spinZ = true;
    FrameInput leftRight = left, upDown = up, xz = x;
    leftRight.right = true;
    upDown.down = true;
    xz.spinZ = true;
    const Case cases[] = {{"Left and Right", leftRight, left}, {"Up and Down", upDown, down}, {"X and Z", xz, z}};
    for (const Case& c : cases) {
        resetProgram(5);
        playFrame(c.both);
        ViewFrame both = state.view;
        resetProgram(5);
        playFrame(c.alone);
        EXPECT_NE(state.view.x.x + state.view.y.y + state.view.z.z, 3.0) << c.name << ": the view turned";
        EXPECT_EQ(both.x.x, state.view.x.x) << c.name;
        EXPECT_EQ(both.x.y, state.view.x.y) << c.name;
        EXPECT_EQ(both.y.z, state.view.y.z) << c.name;
        EXPECT_EQ(both.z.x, state.view.z.x) << c.name;
    }
}

TEST_F(TetragirLoop, ScrambleAndResetKeys) {
    FrameInput scramble{}, reset{}, both{};
    scramble.scramble = both.scramble = true;
    reset.reset = both.reset = true;
    playFrame(scramble);
    EXPECT_NE(state.colours, solved()) << "A scrambles at once";
    playFrame(both);
    EXPECT_EQ(state.colours, solved()) << "A and S together leave the puzzle solved";
    ViewFrame turned = state.view = {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}};
    playFrame(scramble);
    playFrame(reset);
    EXPECT_EQ(state.colours, solved());
    EXPECT_EQ(state.view.x.y, turned.x.y) << "S keeps the view";

    // A turn under way still lands, on whatever colours stand there when it ends.
    playFrame(pointer(0, 1));
    playFrame(pointer(9, 1));
    ASSERT_GE(state.clock.animStart, 0.0);
    playFrame(scramble);
    Colours expected = state.colours;
    turn(expected, 0, 1);
    for (int32_t i = 0; i < 3000 && state.clock.animStart >= 0.0; ++i) playFrame(FrameInput{});
    EXPECT_EQ(state.colours, expected);
}

// The drags of the shared cases on face 0, which faces the eye: its middle band around corner 0 runs 2, 1, 5, 6
// (2 onto 1 turns move 4, 1 onto 5 and 5 onto 6 move 5), and 1 and 6 do not touch.
struct Tetragir {
    static void start() { resetProgram(5); }
    static void frame(int32_t s, bool held) {
        FrameInput in{};
        EXPECT_TRUE(centrePixel(state.camera, state.view, s, in.mouseX, in.mouseY));
        in.buttons = held ? 1 : 0;
        playFrame(in);
        EXPECT_EQ(state.hoveredSticker, s);
    }
    static bool turning() { return state.clock.animStart >= 0.0; }
    static bool turns(int32_t a, int32_t b) { return moveFromDrag(a, b).count != 0; }
    static Colours colours() { return state.colours; }
    static Colours afterDrags(const int32_t (*drags)[2], int32_t n) {
        Colours c;
        resetColours(c);
        for (int32_t i = 0; i < n; ++i) {
            Move m = moveFromDrag(drags[i][0], drags[i][1]);
            turn(c, m.layer, m.count);
        }
        return c;
    }
};

TEST(TetragirPressDuringTurn, OnlyTheDragsMadeTurnLayers) { pressDuringTurn::playEveryCase<Tetragir>({2, 1, 5, 6}); }

}  // namespace
}  // namespace tetragir
