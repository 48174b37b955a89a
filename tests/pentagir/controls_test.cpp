// The frame loop driven with made-up input, no window: drags, keys and view turns as a player meets them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "pentagir/controls.h"
#include "pentagir/geometry.h"
#include "pentagir/program.h"
#include "pentagir/state.h"
#include "play/random.h"
#include "tests/pentagir/support.h"
#include "tests/support/press_during_turn.h"

namespace pentagir {
namespace {

double distance2(Vec3 a, Vec3 b) { return dot(a - b, a - b); }

Colours solved() {
    Colours c;
    for (int32_t s = 0; s < stickerCount; ++s) c[s] = s / stickersPerFace;
    return c;
}

Colours turned(Colours c, int32_t layer, int32_t count) {
    turn(c, layer, count);
    return c;
}

struct PentagirLoop : ::testing::Test {
    void SetUp() override {
        resetProgram(5);
        updateFaceFrames(state.faces, state.view);
    }

    // Idle input with the pointer parked off the puzzle.
    static FrameInput idle() { return FrameInput{.mouseX = 5, .mouseY = 5}; }

    static FrameInput at(int32_t s, int32_t buttons) {
        FrameInput in = idle();
        int x = 0, y = 0;
        EXPECT_TRUE(stickerCentrePixel(s, x, y));
        in.mouseX = x;
        in.mouseY = y;
        in.buttons = buttons;
        return in;
    }

    // Frames until the running animation has applied its turn; fails after far more than 2500.
    static int32_t finishAnimation(FrameInput in) {
        int32_t frames = 0;
        while (state.clock.animStart >= 0.0 && frames < 4000) {
            playFrame(in);
            ++frames;
        }
        return frames;
    }
};

TEST(PentagirDrag, NeighboursOnARingNameTheRowAndTheDirection) {
    struct Case {
        const char* name;
        int32_t pressed, hovered, layer, count;
    };
    const Case cases[] = {
        {"face 7 corner 6 onto edge 7", 11 * 7 + 6, 11 * 7 + 7, 0, 4},
        {"face 7 edge 7 onto corner 6", 11 * 7 + 7, 11 * 7 + 6, 0, 1},
        {"across the corner of faces 7 and 11", 85, 127, 0, 4},
        {"the ring's last sticker onto its first", 96, 83, 0, 4},
        {"centre of face 7 onto its corner", 11 * 7 + 10, 11 * 7 + 6, 0, 0},
        {"corner onto the centre", 11 * 7 + 6, 11 * 7 + 10, 0, 0},
        {"two stickers of one face not on a ring", 11 * 7 + 0, 11 * 7 + 4, 0, 0},
        {"the same sticker", 83, 83, 0, 0},
    };
    for (const Case& c : cases) {
        Move m = moveFromDrag(c.pressed, c.hovered);
        EXPECT_EQ(m.count, c.count) << c.name;
        if (c.count != 0) {
            EXPECT_EQ(m.layer, c.layer) << c.name;
        }
    }
}

// Every consecutive ring pair, both ways: the turn at the end of the drag moves the pressed sticker's colour onto
// the hovered sticker, the direction the pointer went.
TEST(PentagirDrag, TurnCarriesTheColourTheWayTheDragWent) {
    for (int32_t r = 0; r < faceCount; ++r)
        for (int32_t q = 0; q < ringLength; ++q) {
            int32_t a = ringSticker(r, q), b = ringSticker(r, (q + 1) % ringLength);
            for (auto [from, to] : {std::pair{a, b}, std::pair{b, a}}) {
                Move m = moveFromDrag(from, to);
                ASSERT_NE(m.count, 0) << from << " onto " << to;
                Colours c;
                for (int32_t s = 0; s < stickerCount; ++s) c[s] = s;
                turn(c, m.layer, m.count);
                int32_t moved = 0;
                for (int32_t s = 0; s < stickerCount; ++s) moved += c[s] != s;
                EXPECT_EQ(moved, 25) << "one fifth moves five groups of five";
                // A fifth of a turn moves each ring sticker three places along the ring of 15.
                int32_t ahead = from == a ? (q + 3) % ringLength : (q + ringLength - 2) % ringLength;
                EXPECT_EQ(c[ringSticker(r, ahead)], from) << "row " << r << ": drag " << from << " onto " << to;
            }
        }
}

TEST_F(PentagirLoop, DragAcrossARingBorderAnimatesThenTurns) {
    playFrame(at(83, 1));
    playFrame(at(84, 1));
    ASSERT_GE(state.clock.animStart, 0.0) << "the drag starts an animation";
    EXPECT_EQ(state.animMove.layer, 0);
    EXPECT_EQ(state.animMove.count, 4);
    EXPECT_EQ(state.colours, solved()) << "colours change only when the animation ends";
    int32_t frames = finishAnimation(idle());
    EXPECT_NEAR(frames, 2500, 2);
    playFrame(idle());
    EXPECT_EQ(state.colours, turned(solved(), 0, 4));
}

// The turn lands in the first frame whose clock has reached the start plus 2.5; a drag waiting in that frame is
// left for the next one, which then starts the next turn from the same anchor.
TEST_F(PentagirLoop, TurnLandsInTheLastFrameAndADragWaitsOneMoreFrame) {
    playFrame(at(83, 1));
    playFrame(at(84, 1));
    ASSERT_GE(state.clock.animStart, 0.0);
    int32_t frames = 0;
    for (double c = state.clock.animStart; c < state.clock.animStart + 2.5; c += 0.001) ++frames;
    for (int32_t i = 1; i < frames; ++i) playFrame(at(84, 1));
    EXPECT_GE(state.clock.animStart, 0.0) << "still running one frame before the end";
    EXPECT_EQ(state.colours, solved()) << "no colour moves before the last frame";
    playFrame(at(85, 1));  // 84 onto 85 would turn row 0 again
    EXPECT_LT(state.clock.animStart, 0.0)
        << "the turn is applied in frame " << frames << " and no new one starts there";
    EXPECT_EQ(state.colours, turned(solved(), 0, 4)) << "one fifth of row 0, backwards";
    playFrame(at(85, 1));
    EXPECT_GE(state.clock.animStart, 0.0) << "the next frame takes up the drag";
    EXPECT_EQ(state.animMove.layer, 0);
    EXPECT_EQ(state.animMove.count, 4);
}

TEST_F(PentagirLoop, DragsDuringAnAnimationAreIgnored) {
    playFrame(at(83, 1));
    playFrame(at(84, 1));
    ASSERT_GE(state.clock.animStart, 0.0);
    double started = state.clock.animStart;
    playFrame(at(85, 1));
    playFrame(at(127, 1));
    EXPECT_EQ(state.clock.animStart, started);
    EXPECT_EQ(state.animMove.count, 4);
}

TEST_F(PentagirLoop, PressAndReleaseOnOneStickerTurnsNothing) {
    for (int i = 0; i < 3; ++i) playFrame(at(83, 1));
    playFrame(at(83, 0));
    playFrame(idle());
    EXPECT_LT(state.clock.animStart, 0.0);
    EXPECT_EQ(state.colours, solved());
}

TEST_F(PentagirLoop, LeavingThePuzzleDropsTheAnchor) {
    playFrame(at(83, 1));
    FrameInput off = idle();
    off.buttons = 1;
    playFrame(off);
    EXPECT_EQ(state.hoveredSticker, -1);
    playFrame(at(84, 1));
    EXPECT_LT(state.clock.animStart, 0.0) << "the sticker touched after leaving is a new anchor, not a turn";
}

TEST_F(PentagirLoop, ScrambleAndResetHeldTogetherShowTheSolvedPuzzle) {
    FrameInput both = idle();
    both.scramble = both.reset = true;
    for (int i = 0; i < 5; ++i) {
        playFrame(both);
        EXPECT_EQ(state.colours, solved()) << "frame " << i;
    }
    FrameInput scramble = idle();
    scramble.scramble = true;
    playFrame(scramble);
    playFrame(scramble);
    EXPECT_NE(state.colours, solved());
}

// A held during an animation scrambles every frame, and the animation still ends with its own turn, after that
// frame's scramble step.
TEST_F(PentagirLoop, ScramblingDuringAnAnimationKeepsTheAnimatedTurn) {
    playFrame(at(83, 1));
    playFrame(at(84, 1));
    ASSERT_GE(state.clock.animStart, 0.0);
    play::seedRandom(state.randomState, 99);
    FrameInput scramble = idle();
    scramble.scramble = true;
    int32_t frames = finishAnimation(scramble);
    Colours expected = solved();
    uint64_t random = 0;
    play::seedRandom(random, 99);
    for (int32_t i = 0; i < frames; ++i) scrambleStep(expected, random);
    turn(expected, 0, 4);
    EXPECT_EQ(state.colours, expected);
}

struct KeyCase {
    const char* name;
    bool FrameInput::*first;
    bool FrameInput::*second;  // nullptr: one key
    Vec3* a;
    Vec3* b;
    double angle;
};

// One frame of each view key turns the basis by 0.002 rad in its plane; of a pair held together the second wins.
TEST_F(PentagirLoop, ViewKeysTurnTheBasisAndTheSecondOfAPairWins) {
    const KeyCase cases[] = {
        {"Right", &FrameInput::right, nullptr, &state.view.z, &state.view.x, 0.002},
        {"Left", &FrameInput::left, nullptr, &state.view.z, &state.view.x, -0.002},
        {"Right and Left", &FrameInput::right, &FrameInput::left, &state.view.z, &state.view.x, -0.002},
        {"Up", &FrameInput::up, nullptr, &state.view.z, &state.view.y, 0.002},
        {"Up and Down", &FrameInput::up, &FrameInput::down, &state.view.z, &state.view.y, -0.002},
        {"X", &FrameInput::spinX, nullptr, &state.view.x, &state.view.y, 0.002},
        {"X and Z", &FrameInput::spinX, &FrameInput::spinZ, &state.view.x, &state.view.y, -0.002},
    };
    for (const KeyCase& c : cases) {
        state.view = identityView;
        Vec3 a = *c.a, b = *c.b;
        rotatePair(a, b, c.angle);
        FrameInput in = idle();
        in.*c.first = true;
        if (c.second) in.*c.second = true;
        playFrame(in);
        EXPECT_NEAR(distance2(*c.a, a), 0.0, 1e-20) << c.name;
        EXPECT_NEAR(distance2(*c.b, b), 0.0, 1e-20) << c.name;
    }
}

// Where the front face's centre and a point right of it show after some frames of a key.
struct Screen {
    double frontX, frontY, angle;
};
Screen afterFrames(bool FrameInput::*key, int32_t frames) {
    resetProgram(5);
    FrameInput in{.mouseX = 5, .mouseY = 5};
    in.*key = true;
    for (int32_t i = 0; i < frames; ++i) playFrame(in);
    Screen s{};
    projectPoint(state.camera, state.faces.viewCentre[6] + Vec3{0, 0, depthOffset}, s.frontX, s.frontY);
    double x, y;
    projectPoint(state.camera, state.faces.viewCentre[7] + Vec3{0, 0, depthOffset}, x, y);
    s.angle = std::atan2(y - s.frontY, x - s.frontX);  // window y grows upwards here
    return s;
}

TEST_F(PentagirLoop, ViewKeysMoveThePictureTheWayAPlayerExpects) {
    Screen start = afterFrames(&FrameInput::up, 0);
    Screen right = afterFrames(&FrameInput::right, 100);
    EXPECT_LT(right.frontX, start.frontX - 10) << "Right moves the front towards the left of the window";
    Screen up = afterFrames(&FrameInput::up, 100);
    EXPECT_GT(up.frontY, start.frontY + 10) << "Up moves the front upwards";
    Screen x = afterFrames(&FrameInput::spinX, 100);
    EXPECT_NEAR(std::remainder(x.angle - start.angle, 2 * M_PI), 0.2, 1e-3) << "X turns the picture counter-clockwise";
    Screen z = afterFrames(&FrameInput::spinZ, 100);
    EXPECT_NEAR(std::remainder(z.angle - start.angle, 2 * M_PI), -0.2, 1e-3) << "Z turns it clockwise";
}

TEST_F(PentagirLoop, RightDragFollowsThePointerFromZeroOnTheFirstFrame) {
    FrameInput in = idle();
    in.mouseX = 639 - 64;  // 64 pixels left of where the pointer starts, the bottom-right corner
    in.mouseY = 479;
    in.buttons = 2;
    Vec3 z = state.view.z, x = state.view.x;
    rotatePair(z, x, 8.0 * 64 / 639);
    playFrame(in);
    EXPECT_NEAR(distance2(state.view.z, z), 0.0, 1e-20);
    EXPECT_NEAR(distance2(state.view.x, x), 0.0, 1e-20);
}

// The drags of the shared cases along the ring of row 0 on face 7, which faces the eye (83, 84, 85 are its
// positions 6, 7, 8), and on across the corner onto 127 of face 11.
struct Pentagir {
    static void start() {
        resetProgram(5);
        updateFaceFrames(state.faces, state.view);
    }
    static void frame(int32_t s, bool held) {
        int x = 0, y = 0;
        EXPECT_TRUE(stickerCentrePixel(s, x, y));
        playFrame(FrameInput{.mouseX = x, .mouseY = y, .buttons = held ? 1 : 0});
        EXPECT_EQ(state.hoveredSticker, s);
    }
    static bool turning() { return state.clock.animStart >= 0.0; }
    static bool turns(int32_t a, int32_t b) { return moveFromDrag(a, b).count != 0; }
    static Colours colours() { return state.colours; }
    static Colours afterDrags(const int32_t (*drags)[2], int32_t n) {
        Colours c = solved();
        for (int32_t i = 0; i < n; ++i) {
            Move m = moveFromDrag(drags[i][0], drags[i][1]);
            turn(c, m.layer, m.count);
        }
        return c;
    }
};

TEST(PentagirPressDuringTurn, OnlyTheDragsMadeTurnLayers) {
    pressDuringTurn::playEveryCase<Pentagir>({83, 84, 85, 127});
}

}  // namespace
}  // namespace pentagir
