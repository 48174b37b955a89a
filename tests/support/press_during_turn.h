// Left-button drags that meet a running turn, the same for pentagir and tetragir: a drag is followed only while no
// turn runs, yet a release or a new press during a turn still counts. Each program's controls test names four
// stickers of its start view and says how to drive one frame with the pointer on one of them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

namespace pressDuringTurn {

// `from` onto `to` turns a layer, so do `to` onto `onward` and `onward` onto `aside`; `to` onto `aside` turns
// nothing.
enum Role : int32_t { from, to, onward, aside, roleCount };

constexpr int32_t untilLanded = -1;  // as many frames as the running turn still takes

struct Step {
    Role pointer;
    bool held;  // the left button
    int32_t frames;
};

struct Drag {
    Role from, to;
};

struct Case {
    const char* name;
    Step steps[6];
    int32_t stepCount;
    Drag landed[2];  // the turns the case makes, in order
    int32_t landedCount;
};

// clang-format off
inline constexpr Case cases[] = {
    {"released during the turn, another sticker pressed and held still through its end",
     {{from, true, 1}, {to, true, 1}, {to, false, 1}, {onward, true, untilLanded}, {onward, true, 3}},
     5, {{from, to}}, 1},
    {"released during the turn, another sticker pressed and moved onto its neighbour before the end",
     {{from, true, 1}, {to, true, 1}, {to, false, 1}, {onward, true, 1}, {aside, true, untilLanded}, {aside, true, 3}},
     6, {{from, to}, {onward, aside}}, 2},
    {"held through the turn and moved on to the next sticker",
     {{from, true, 1}, {to, true, 1}, {onward, true, untilLanded}, {onward, true, 3}},
     4, {{from, to}, {to, onward}}, 2},
};
// clang-format on

// Plays every case from the start state and, once the last turn it started has landed, compares the colours with
// the solved puzzle turned by the case's drags. Program supplies:
//   start()                       the start state
//   frame(sticker, held)          one frame with the pointer on that sticker's centre
//   turning()                     whether a turn is animated
//   turns(a, b)                   whether the drag rule turns a layer for a onto b
//   colours(), afterDrags(d, n)   the colours now, and the solved ones turned by n drags {from, to}
template <class Program>
void playEveryCase(const int32_t (&sticker)[roleCount]) {
    ASSERT_TRUE(Program::turns(sticker[from], sticker[to]));
    ASSERT_TRUE(Program::turns(sticker[to], sticker[onward]));
    ASSERT_TRUE(Program::turns(sticker[onward], sticker[aside]));
    ASSERT_FALSE(Program::turns(sticker[to], sticker[aside]));
    for (const Case& c : cases) {
        Program::start();
        for (int32_t i = 0; i < c.stepCount; ++i) {
            const Step& step = c.steps[i];
            for (int32_t n = 0; step.frames == untilLanded ? Program::turning() && n < 3000 : n < step.frames; ++n)
                Program::frame(sticker[step.pointer], step.held);
        }
        for (int32_t n = 0; Program::turning() && n < 3000; ++n) Program::frame(sticker[aside], false);
        auto got = Program::colours();  // before afterDrags, which may work on the program's own colours
        int32_t drags[2][2];
        for (int32_t i = 0; i < c.landedCount; ++i) {
            drags[i][0] = sticker[c.landed[i].from];
            drags[i][1] = sticker[c.landed[i].to];
        }
        EXPECT_EQ(got, Program::afterDrags(drags, c.landedCount)) << c.name;
    }
}

}  // namespace pressDuringTurn
