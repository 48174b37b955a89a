// The layer under a real X server: layer_probe runs on this test's private Xvfb, XTest types keys and moves the
// mouse, and the bytes and mouse states the probe prints are checked against the key translation table and the
// mouse mask. The X driver's own checks are in tests/xdriver/.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/x11_support.h"
#include "tests/support/xdriver/driver.h"
#include "tests/support/xdriver/process.h"

#include <X11/Xlib.h>

namespace {

using xtest::caseName;

constexpr int lineTimeoutMs = 5000;
constexpr int windowTimeoutMs = 10000;
constexpr int areaWidth = 640, areaHeight = 480;

struct MouseState {
    int buttons = 0, x = 0, y = 0;
};

std::string describe(const std::vector<int>& bytes) {
    std::ostringstream text;
    text << "{";
    for (size_t i = 0; i < bytes.size(); ++i) text << (i ? ", " : "") << bytes[i];
    text << "}";
    return text.str();
}

std::string describe(const std::vector<MouseState>& states) {
    std::ostringstream text;
    for (const MouseState& m : states) text << "(" << m.buttons << " " << m.x << " " << m.y << ") ";
    return text.str();
}

// The probe on the shared server and a driver on its window. One probe serves the cases in turn, and a new one
// replaces a probe that a case has ended: each case starts with an idle keyboard and pointer, the pointer at
// (5, 5) in the probe's focused window, and everything the probe said before already read.
class ProbeTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::unique_ptr<xtest::ProgramWindow> shared;
        if (!shared || !shared->program().running()) {
            shared = std::make_unique<xtest::ProgramWindow>();
            ASSERT_TRUE(shared->start({LAYER_PROBE_PATH}, "LAYER PROBE", xdrive::Output::Stdout, "", windowTimeoutMs));
        }
        probe = &shared->program();
        driver = &shared->driver();
        ASSERT_TRUE(driver->resetInput()) << driver->error();
        ASSERT_TRUE(driver->findWindow("LAYER PROBE", windowTimeoutMs, probe->pid())) << driver->error();
        ASSERT_TRUE(driver->move(5, 5)) << driver->error();
        // F9 (0, 67), which no case types, marks the end of what came before.
        ASSERT_TRUE(driver->tap("F9")) << driver->error();
        std::vector<int> keys;
        std::vector<MouseState> mice;
        const auto isF9 = [](const MouseState*, int byte, bool pair) { return byte == 67 && pair; };
        ASSERT_NO_FATAL_FAILURE(readUntil(keys, mice, isF9));
        heldLog.clear();
    }

    // Taps Space and reads the probe's lines up to its byte 32 (a lone one, not the code of a pair). The probe
    // prints a mouse change before the key that follows it, so everything done before the Space has been
    // reported by then. Every byte before the 32 goes to keys, every mouse line to mice. Space is a safe end
    // mark: Caps Lock does not change it and no case here expects it.
    void readUpToMark(std::vector<int>& keys, std::vector<MouseState>& mice) {
        ASSERT_TRUE(driver->tap("space")) << driver->error();
        const auto isMark = [](const MouseState*, int byte, bool pair) { return byte == 32 && !pair; };
        ASSERT_NO_FATAL_FAILURE(readUntil(keys, mice, isMark));
    }

    // Reads the probe's lines into keys and mice until done(mouse line or nullptr, key byte or -1, whether the
    // byte is a pair's code) says so; the line that ends it is not stored.
    template <typename Done>
    void readUntil(std::vector<int>& keys, std::vector<MouseState>& mice, Done done) {
        bool pair = false;
        for (;;) {
            std::string line;
            ASSERT_TRUE(probe->readLine(line, lineTimeoutMs)) << probe->error() << "; keys so far " << describe(keys);
            int byte = 0;
            MouseState m;
            if (std::sscanf(line.c_str(), "key %d", &byte) == 1) {
                if (done(nullptr, byte, pair)) return;
                pair = !pair && byte == 0;
                keys.push_back(byte);
            } else if (std::sscanf(line.c_str(), "mouse %d %d %d", &m.buttons, &m.x, &m.y) == 3) {
                if (done(&m, -1, false)) return;
                mice.push_back(m);
            } else if (line.rfind("held ", 0) == 0) {
                heldLog.push_back(line);
            } else {
                FAIL() << "unexpected probe output: " << line;
            }
        }
    }

    // Reads the probe's lines up to the first mouse state with a button down. The probe reports only the latest
    // state, so a test sees the press this way before it releases, however slow the machine.
    void readUntilPressed(MouseState& pressed) {
        std::vector<int> keys;
        std::vector<MouseState> mice;
        ASSERT_NO_FATAL_FAILURE(readUntil(keys, mice, [&](const MouseState* m, int, bool) {
            if (!m || !(m->buttons & 7)) return false;
            pressed = *m;
            return true;
        }));
    }

    std::vector<std::string> heldLog;  // the probe's "held N 0/1" lines, in order
    xdrive::Program* probe = nullptr;
    xdrive::Driver* driver = nullptr;
};

// ---- keys ----

struct KeyCase {
    const char* what;
    std::vector<const char*> taps;  // xdrive key names, tapped in order
    std::vector<int> bytes;         // what the key ring must hold afterwards, exactly
};

// Expected bytes from the translation rules: characters as one byte, keys without one as 0 and a code.
// clang-format off
const KeyCase keyCases[] = {
    {"a",                      {"a"},              {97}},
    {"Shift+a",                {"A"},              {65}},
    {"Caps Lock then a",       {"Caps_Lock", "a"}, {65}},
    {"Caps Lock then Shift+a", {"Caps_Lock", "A"}, {97}},
    {"Ctrl+a",                 {"ctrl+a"},         {1}},
    {"Enter",                  {"Return"},         {13}},
    {"Backspace",              {"BackSpace"},      {8}},
    {"Tab",                    {"Tab"},            {9}},
    {"digit 7",                {"7"},              {55}},
    {"Shift+1 types !",        {"exclam"},         {33}},
    {"Left",                   {"Left"},           {0, 75}},
    {"Shift+Left",             {"shift+Left"},     {0, 75}},
    {"Ctrl+Left",              {"ctrl+Left"},      {0, 115}},
    {"Alt+Up",                 {"alt+Up"},         {0, 152}},
    {"Delete",                 {"Delete"},         {0, 83}},
    {"Alt+A",                  {"alt+a"},          {0, 30}},
    {"Alt+Z",                  {"alt+z"},          {0, 44}},
    {"F1",                     {"F1"},             {0, 59}},
    {"Shift+F1",               {"shift+F1"},       {0, 84}},
    {"Ctrl+F10",               {"ctrl+F10"},       {0, 103}},
    {"Alt+F1",                 {"alt+F1"},         {0, 104}},
    {"F12",                    {"F12"},            {0, 134}},
    {"Ctrl+2",                 {"ctrl+2"},         {0, 2}},
    {"Ctrl+0",                 {"ctrl+0"},         {0, 10}},
    {"Alt+1",                  {"alt+1"},          {0, 120}},
    {"Alt+Backspace",          {"alt+BackSpace"},  {0, 14}},
    {"Alt+Enter",              {"alt+Return"},     {0, 166}},
    {"two keys, two entries",  {"Left", "b"},      {0, 75, 98}},
    {"context-menu key",       {"Menu"},           {0, 151}},
    // The keypad: arrows without Num Lock, its own characters typed once.
    {"keypad Left",            {"KP_Left"},        {0, 75}},
    {"keypad Enter",           {"KP_Enter"},       {13}},
    {"keypad +",               {"KP_Add"},         {43}},
    // KP_Home names the keypad's 7 key by its unshifted keysym, so the driver adds no Shift.
    {"keypad 7 with Num Lock", {"Num_Lock", "KP_Home"}, {55}},
};
// clang-format on

void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.what; }

class ProbeKeys : public ProbeTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(ProbeKeys, GiveTheirBytesExactlyOnce) {
    const KeyCase& c = GetParam();
    for (const char* key : c.taps) ASSERT_TRUE(driver->tap(key)) << driver->error();
    std::vector<int> keys;
    std::vector<MouseState> mice;
    ASSERT_NO_FATAL_FAILURE(readUpToMark(keys, mice));
    EXPECT_EQ(keys, c.bytes) << c.what << ": expected " << describe(c.bytes) << ", read " << describe(keys);
}

INSTANTIATE_TEST_SUITE_P(Table, ProbeKeys, ::testing::ValuesIn(keyCases), caseName<KeyCase>);

struct DeadKeyCase {
    const char* what;
    const char* deadKey;  // keysym name of the dead key
    const char* letter;   // key tapped after it
    int byte;             // the composed character's code
};

// A dead key types nothing; the key after it types the composed character, once.
// clang-format off
const DeadKeyCase deadKeyCases[] = {
    {"acute then e",     "dead_acute",     "e", 0xE9},
    {"grave then a",     "dead_grave",     "a", 0xE0},
    {"diaeresis then u", "dead_diaeresis", "u", 0xFC},
};
// clang-format on

void PrintTo(const DeadKeyCase& c, std::ostream* out) { *out << c.what; }

class ProbeDeadKeys : public ProbeTest, public ::testing::WithParamInterface<DeadKeyCase> {
protected:
    // The test server's keyboard has no dead keys: put the keysym on a keycode that has none.
    void addKeysym(const char* name) {
        Display* display = driver->display();
        int first = 0, last = 0, perCode = 0;
        XDisplayKeycodes(display, &first, &last);
        KeySym* map = XGetKeyboardMapping(display, static_cast<KeyCode>(first), last - first + 1, &perCode);
        ASSERT_NE(map, nullptr);
        for (int code = last; code >= first && !spare; --code) {
            bool empty = true;
            for (int i = 0; i < perCode; ++i) empty = empty && map[(code - first) * perCode + i] == NoSymbol;
            if (empty) spare = code;
        }
        XFree(map);
        ASSERT_NE(spare, 0) << "no free keycode for " << name;
        KeySym keysym = XStringToKeysym(name);
        XChangeKeyboardMapping(display, spare, 1, &keysym, 1);
        XSync(display, False);
        // The probe hears of the new map before any key that follows it, so once it has read a key typed now it
        // knows the dead key.
        std::vector<int> keys;
        std::vector<MouseState> mice;
        ASSERT_NO_FATAL_FAILURE(readUpToMark(keys, mice));
    }
    // The keyboard is the shared server's: give the spare keycode back.
    void TearDown() override {
        if (!spare) return;
        KeySym none = NoSymbol;
        XChangeKeyboardMapping(driver->display(), spare, 1, &none, 1);
        XSync(driver->display(), False);
    }
    int spare = 0;
};

TEST_P(ProbeDeadKeys, GiveOneComposedCharacter) {
    const DeadKeyCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(addKeysym(c.deadKey));
    ASSERT_TRUE(driver->tap(c.deadKey)) << driver->error();
    ASSERT_TRUE(driver->tap(c.letter)) << driver->error();
    std::vector<int> keys;
    std::vector<MouseState> mice;
    ASSERT_NO_FATAL_FAILURE(readUpToMark(keys, mice));
    EXPECT_EQ(keys, (std::vector<int>{c.byte})) << c.what << ": read " << describe(keys);
}

INSTANTIATE_TEST_SUITE_P(Table, ProbeDeadKeys, ::testing::ValuesIn(deadKeyCases), caseName<DeadKeyCase>);

// The server's key repeat is off (-ardelay), so a key held for a long while is still one press: e2e tests of
// programs that hold keys rely on that.
TEST_F(ProbeTest, HeldKeyIsOneEntry) {
    ASSERT_TRUE(driver->hold("Left", 700)) << driver->error();
    std::vector<int> keys;
    std::vector<MouseState> mice;
    ASSERT_NO_FATAL_FAILURE(readUpToMark(keys, mice));
    EXPECT_EQ(keys, (std::vector<int>{0, 75})) << "read " << describe(keys);
}

struct HeldCase {
    const char* key;  // xdrive key name
    int number;       // key_held number
};

// key_held numbers: letters by their upper-case code whatever the case typed, Escape 27, Left 37 to Down 40;
// the keypad's arrows without Num Lock are arrows here as they are in the key ring.
// clang-format off
const HeldCase heldCases[] = {
    {"a", 65},       {"z", 90},     {"A", 65},        {"Left", 37},    {"Up", 38},
    {"Right", 39},   {"Down", 40},  {"KP_Left", 37},  {"KP_Up", 38},   {"KP_Right", 39},
    {"KP_Down", 40},
};
// clang-format on

// A key is held from its press to its release: the probe reports the change on, then off, and nothing else.
TEST_F(ProbeTest, KeyHeldFollowsPressAndRelease) {
    for (const HeldCase& c : heldCases) {
        SCOPED_TRACE(c.key);
        heldLog.clear();
        const std::string on = "held " + std::to_string(c.number) + " 1";
        const std::string off = "held " + std::to_string(c.number) + " 0";
        ASSERT_TRUE(driver->keyDown(c.key)) << driver->error();
        std::vector<int> keys;
        std::vector<MouseState> mice;
        // Down until the probe has seen it: a byte of the key arrives after its held change is printed.
        ASSERT_NO_FATAL_FAILURE(readUntil(keys, mice, [](const MouseState*, int byte, bool) { return byte > 0; }));
        EXPECT_EQ(heldLog, (std::vector<std::string>{on})) << "while the key is down";
        ASSERT_TRUE(driver->keyUp(c.key)) << driver->error();
        ASSERT_NO_FATAL_FAILURE(readUpToMark(keys, mice));
        EXPECT_EQ(heldLog, (std::vector<std::string>{on, off})) << "after the release";
    }
}

TEST_F(ProbeTest, EscapeIsTheLoneByte27AndEndsTheProbe) {
    ASSERT_TRUE(driver->keyDown("Escape")) << driver->error();
    std::vector<int> keys;
    std::vector<MouseState> mice;
    int first = -1;
    const auto firstByte = [&](const MouseState*, int byte, bool) { return (first = byte) >= 0; };
    ASSERT_NO_FATAL_FAILURE(readUntil(keys, mice, firstByte));
    ASSERT_TRUE(driver->keyUp("Escape")) << driver->error();
    EXPECT_EQ(first, 27) << "the first byte of Escape";
    EXPECT_EQ(heldLog, (std::vector<std::string>{"held 27 1"})) << "key_held(27) while Escape is down";
    int status = -1;
    ASSERT_TRUE(probe->waitExit(lineTimeoutMs, status)) << probe->error();
    EXPECT_EQ(status, 0);
}

TEST_F(ProbeTest, CloseButtonGivesZero107AndTheWindowStays) {
    ASSERT_TRUE(driver->closeButton()) << driver->error();
    std::vector<int> keys;
    std::vector<MouseState> mice;
    ASSERT_NO_FATAL_FAILURE(readUpToMark(keys, mice));  // the probe still reads keys after it
    EXPECT_EQ(keys, (std::vector<int>{0, 107})) << "read " << describe(keys);
    EXPECT_TRUE(probe->running());
    EXPECT_TRUE(driver->windowExists()) << "the close button closed the window";
}

// ---- mouse ----

struct ClickCase {
    const char* what;
    const char* modifier;  // key held through the click, or nullptr
    int button;            // X button number
    int pressedMask;       // mouse_buttons() at the press
};

// Mask bits: 0 left, 1 right, 2 middle, 3 Shift, 4 Ctrl.
// clang-format off
const ClickCase clickCases[] = {
    {"plain left",   nullptr,       1, 1},
    {"Shift+left",   "Shift_L",     1, 1 | 8},
    {"Ctrl+left",    "Control_L",   1, 1 | 16},
    {"plain right",  nullptr,       3, 2},
    {"plain middle", nullptr,       2, 4},
};
// clang-format on

void PrintTo(const ClickCase& c, std::ostream* out) { *out << c.what; }

class ProbeClicks : public ProbeTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(ProbeClicks, MaskHoldsTheButtonAndTheModifiersOfThatEvent) {
    const ClickCase& c = GetParam();
    ASSERT_TRUE(driver->move(200, 150)) << driver->error();
    if (c.modifier) {
        ASSERT_TRUE(driver->keyDown(c.modifier)) << driver->error();
    }
    ASSERT_TRUE(driver->press(c.button)) << driver->error();
    std::vector<int> keys;
    std::vector<MouseState> mice;
    MouseState pressed;
    ASSERT_NO_FATAL_FAILURE(readUntilPressed(pressed));
    EXPECT_EQ(pressed.buttons, c.pressedMask) << c.what << ": mask at the press";
    EXPECT_EQ(pressed.x, 200);
    EXPECT_EQ(pressed.y, 150);
    ASSERT_TRUE(driver->release(c.button)) << driver->error();
    if (c.modifier) {
        ASSERT_TRUE(driver->keyUp(c.modifier)) << driver->error();
    }
    mice.clear();
    ASSERT_NO_FATAL_FAILURE(readUpToMark(keys, mice));
    EXPECT_TRUE(keys.empty()) << "a modifier alone put " << describe(keys) << " in the key ring";
    ASSERT_FALSE(mice.empty()) << "no state after the release";
    EXPECT_EQ(mice.back().buttons & 7, 0) << "the release was lost: " << describe(mice);
    EXPECT_EQ(mice.back().x, 200);
    EXPECT_EQ(mice.back().y, 150);
}

INSTANTIATE_TEST_SUITE_P(Table, ProbeClicks, ::testing::ValuesIn(clickCases), caseName<ClickCase>);

// Shift is down as long as either Shift key is: letting go of one while the other is held keeps bit 3.
TEST_F(ProbeTest, ShiftHeldByTheOtherKeyStaysInTheMask) {
    ASSERT_TRUE(driver->move(200, 150)) << driver->error();
    ASSERT_TRUE(driver->keyDown("Shift_L")) << driver->error();
    ASSERT_TRUE(driver->keyDown("Shift_R")) << driver->error();
    ASSERT_TRUE(driver->keyUp("Shift_L")) << driver->error();
    ASSERT_TRUE(driver->press(1)) << driver->error();
    MouseState pressed;
    ASSERT_NO_FATAL_FAILURE(readUntilPressed(pressed));
    EXPECT_EQ(pressed.buttons, 1 | 8) << "left button with the right Shift key still held";
    ASSERT_TRUE(driver->release(1)) << driver->error();
    ASSERT_TRUE(driver->keyUp("Shift_R")) << driver->error();
}

struct DragCase {
    const char* what;
    int x1, y1, x2, y2;
};

// clang-format off
const DragCase dragCases[] = {
    {"out past the bottom right", 320, 240, 760, 640},
    {"out past the top left",     320, 240, -120, -90},
    {"out past the right only",   320, 240, 900, 240},
};
// clang-format on

void PrintTo(const DragCase& c, std::ostream* out) { *out << c.what; }

class ProbeDrags : public ProbeTest, public ::testing::WithParamInterface<DragCase> {};

TEST_P(ProbeDrags, TakeNoPositionOutsideAndSeeTheReleaseOutside) {
    const DragCase& c = GetParam();
    constexpr int steps = 8;
    ASSERT_TRUE(driver->drag(1, c.x1, c.y1, c.x2, c.y2, steps)) << driver->error();
    // The pointer's last position inside the drawing area, walking the drag's steps as the driver moves.
    int lastX = c.x1, lastY = c.y1;
    for (int i = 1; i <= steps; ++i) {
        const int x = c.x1 + (c.x2 - c.x1) * i / steps, y = c.y1 + (c.y2 - c.y1) * i / steps;
        if (x >= 0 && y >= 0 && x < areaWidth && y < areaHeight) {
            lastX = x;
            lastY = y;
        }
    }
    std::vector<int> keys;
    std::vector<MouseState> mice;
    ASSERT_NO_FATAL_FAILURE(readUpToMark(keys, mice));
    ASSERT_FALSE(mice.empty());
    for (const MouseState& m : mice) {
        EXPECT_TRUE(m.x >= 0 && m.x < areaWidth && m.y >= 0 && m.y < areaHeight)
            << c.what << ": position (" << m.x << ", " << m.y << ") is outside the drawing area";
    }
    EXPECT_EQ(mice.back().buttons & 1, 0) << c.what << ": the release outside was lost: " << describe(mice);
    EXPECT_EQ(mice.back().x, lastX) << c.what << ": " << describe(mice);
    EXPECT_EQ(mice.back().y, lastY) << c.what << ": " << describe(mice);
}

INSTANTIATE_TEST_SUITE_P(Table, ProbeDrags, ::testing::ValuesIn(dragCases), caseName<DragCase>);

// Without a button the pointer simply leaves the window: the position stays where it last was inside, not at
// the edge pixel nearest to where the pointer went.
// clang-format off
const DragCase leaveCases[] = {
    {"out past the right",       600, 200, 800, 200},
    {"out past the top",         300, 30,  300, -50},
    {"out past the bottom left", 20,  460, -30, 520},
};
// clang-format on

class ProbeLeaves : public ProbeTest, public ::testing::WithParamInterface<DragCase> {};

TEST_P(ProbeLeaves, KeepTheLastPositionInside) {
    const DragCase& c = GetParam();
    ASSERT_TRUE(driver->move(c.x1, c.y1)) << driver->error();
    ASSERT_TRUE(driver->move(c.x2, c.y2)) << driver->error();
    std::vector<int> keys;
    std::vector<MouseState> mice;
    ASSERT_NO_FATAL_FAILURE(readUpToMark(keys, mice));
    ASSERT_FALSE(mice.empty());
    EXPECT_EQ(mice.back().x, c.x1) << c.what << ": " << describe(mice);
    EXPECT_EQ(mice.back().y, c.y1) << c.what << ": " << describe(mice);
}

INSTANTIATE_TEST_SUITE_P(Table, ProbeLeaves, ::testing::ValuesIn(leaveCases), caseName<DragCase>);

TEST(LayerProbe, WithoutADisplayItSaysWhyAndExits1) {
    xdrive::Program probe;
    ASSERT_TRUE(probe.start(":1999", {LAYER_PROBE_PATH}, xdrive::Output::StdoutAndStderr)) << probe.error();
    std::string line;
    ASSERT_TRUE(probe.readLine(line, lineTimeoutMs)) << probe.error();
    EXPECT_EQ(line.rfind("layer_probe: ", 0), 0u) << line;
    EXPECT_GT(line.size(), std::string("layer_probe: ").size()) << "no cause given";
    int status = -1;
    ASSERT_TRUE(probe.waitExit(lineTimeoutMs, status)) << probe.error();
    EXPECT_EQ(status, 1);
}

}  // namespace
