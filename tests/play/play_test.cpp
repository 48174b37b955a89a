// What the frame loops share that no program's own test sees: the press and release edges of the pointer, the
// drag anchor they move, the cube programs' view drag, and the generator every scramble draws from.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>

#include "play/input.h"
#include "play/random.h"
#include "play/view_turn.h"

namespace {

using play::buttonLeft;

constexpr int32_t buttonMiddle = 4, shiftKey = 8;

// Two frames' button masks and what the left button did between them; the other buttons and Shift never count.
TEST(PlayPointer, PressAndReleaseAreTheEdgesOfTheLeftButton) {
    struct Case {
        const char* name;
        int32_t before, now;
        bool held, pressed, released;
    };
    const Case cases[] = {
        {"up in both frames", 0, 0, false, false, false},
        {"goes down", 0, buttonLeft, true, true, false},
        {"stays down", buttonLeft, buttonLeft, true, false, false},
        {"comes up", buttonLeft, 0, false, false, true},
        {"only the right button goes down", 0, play::buttonRight, false, false, false},
        {"goes down while the right button is held", play::buttonRight, play::buttonRight | buttonLeft, true, true,
         false},
        {"stays down as the middle button goes down", buttonLeft, buttonLeft | buttonMiddle, true, false, false},
        {"comes up with Shift held", buttonLeft | shiftKey, shiftKey, false, false, true},
    };
    for (const Case& c : cases) {
        play::Pointer pointer;
        play::takeMouse(pointer, play::FrameInput{.buttons = c.before});
        play::rememberMouse(pointer);
        play::takeMouse(pointer, play::FrameInput{.mouseX = 30, .mouseY = 40, .buttons = c.now});
        EXPECT_EQ(play::held(pointer, buttonLeft), c.held) << c.name;
        EXPECT_EQ(play::pressed(pointer, buttonLeft), c.pressed) << c.name;
        EXPECT_EQ(play::released(pointer, buttonLeft), c.released) << c.name;
        play::rememberMouse(pointer);
        EXPECT_FALSE(play::pressed(pointer, buttonLeft) || play::released(pointer, buttonLeft))
            << c.name << ": an edge lasts one frame";
        EXPECT_EQ(pointer.previousX, 30) << c.name;
        EXPECT_EQ(pointer.previousY, 40) << c.name;
    }
}

// A press anchors a drag on what is under the pointer, holding the button keeps the anchor wherever the pointer
// goes, a release ends the drag.
TEST(PlayPointer, APressAnchorsTheDragAndAReleaseEndsIt) {
    struct Frame {
        int32_t buttons, under, anchor;
    };
    const Frame frames[] = {
        {0, 5, -1},           {buttonLeft, 5, 5},  {buttonLeft, 6, 5}, {buttonLeft, -1, 5}, {0, 6, -1},
        {buttonLeft, -1, -1}, {buttonLeft, 7, -1}, {0, 7, -1},         {buttonLeft, 7, 7},
    };
    play::Pointer pointer;
    int32_t anchor = 3;  // left from a drag before: no button is down, so it ends
    for (int32_t i = 0; i < static_cast<int32_t>(std::size(frames)); ++i) {
        play::takeMouse(pointer, play::FrameInput{.buttons = frames[i].buttons});
        play::trackPress(anchor, pointer, frames[i].under);
        EXPECT_EQ(anchor, frames[i].anchor) << "frame " << i;
        play::rememberMouse(pointer);
    }
}

// The cube programs' view drag: one degree per pixel of motion, and only with the right button alone.
TEST(PlayViewTurn, TheWholeDegreeDragNeedsTheRightButtonAlone) {
    struct Case {
        const char* name;
        int32_t buttons;
        bool drags;
    };
    const Case cases[] = {
        {"right button alone", play::rightButtonAlone, true},
        {"no button", 0, false},
        {"left button", play::leftButtonAlone, false},
        {"both buttons", play::buttonLeft | play::buttonRight, false},
        {"right button with Shift", play::buttonRight | shiftKey, false},
        {"right button with the middle one", play::buttonRight | buttonMiddle, false},
    };
    for (const Case& c : cases) {
        play::Pointer pointer{.mouseX = 110, .mouseY = 47, .buttons = c.buttons, .previousX = 100, .previousY = 50};
        int32_t across = 45, upDown = -350;
        EXPECT_EQ(play::dragDegrees(pointer, across, upDown), c.drags) << c.name;
        EXPECT_EQ(across, c.drags ? 55 : 45) << c.name;
        EXPECT_EQ(upDown, c.drags ? -353 : -350) << c.name << ": no wrap";
    }
}

TEST(PlayRandom, StaysInRangeReachesEveryValueAndRepeatsWithItsSeed) {
    for (int32_t n : {1, 2, 3, 4, 6, 12}) {
        uint64_t random = 0, again = 0;
        play::seedRandom(random, 12345);
        play::seedRandom(again, 12345);
        int32_t seen[12] = {};
        constexpr int32_t draws = 6000;
        for (int32_t i = 0; i < draws; ++i) {
            int32_t r = play::randomBelow(random, n);
            ASSERT_TRUE(r >= 0 && r < n) << "randomBelow(" << n << ") gave " << r;
            ASSERT_EQ(r, play::randomBelow(again, n)) << "draw " << i << " of a second generator with the same seed";
            ++seen[r];
        }
        for (int32_t v = 0; v < n; ++v)
            EXPECT_GT(seen[v], draws / n * 3 / 4) << "randomBelow(" << n << ") rarely gives " << v;
    }
    uint64_t random = 0;
    play::seedRandom(random, 1);
    EXPECT_EQ(play::randomBelow(random, 0), 0);
    EXPECT_EQ(play::randomBelow(random, -3), 0);
}

TEST(PlayRandom, OtherSeedsGiveOtherSequences) {
    uint64_t a = 0, b = 0;
    play::seedRandom(a, 7);
    play::seedRandom(b, 8);
    int32_t same = 0;
    for (int32_t i = 0; i < 1000; ++i) same += play::randomBelow(a, 1000) == play::randomBelow(b, 1000);
    EXPECT_LT(same, 20);
}

}  // namespace
