// Test-only program: opens a window through the layer and reports, one line each on standard output, every key
// byte it reads ("key N"), every change of the mouse state ("mouse BUTTONS X Y") and every change of key_held for
// the keys it answers for ("held N 1" / "held N 0": letters 65-90, Escape 27, arrows 37-40). It ends on a lone
// Escape byte; the close button's pair 0, 107 is reported like any other pair and does not end it.
//
// It also draws calibration marks so that a capture of its window can be checked against known pixels: on black,
// squares (10,10)-(29,29) in palette entry 4, (40,10)-(59,29) in entry 2, (70,10)-(89,29) in entry 1, and
// (630,470)-(639,479) in entry 15 (red, green, blue and white of the default palette).
#include <chrono>
#include <cstdio>
#include <thread>

#include "window/window.h"

namespace layerProbe {

constexpr int keyNumberCount = 91;  // key_held numbers looked at: 0-90

struct ProbeState {
    bool pairPending = false;  // the last byte was a 0, so the next one is a key code, never an Escape
    int16_t buttons = -1, x = -1, y = -1;
    bool held[keyNumberCount] = {};
};

ProbeState P;

// Calibration squares: palette entry, left, top, right, bottom.
// clang-format off
constexpr int16_t marks[4][5] = {
    {4,  10,  10,  29,  29},
    {2,  40,  10,  59,  29},
    {1,  70,  10,  89,  29},
    {15, 630, 470, 639, 479},
};
// clang-format on

void drawMarks() {
    clear_page();
    for (const auto& m : marks) {
        set_fill(1, m[0]);
        fill_rect(m[1], m[2], m[3], m[4]);
    }
    present_frame(1);
}

bool startUp() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // a test reads every line as soon as it is printed
    int16_t driver = 3, mode = 4;
    open_window(driver, mode, "LAYER PROBE");
    const int16_t status = graph_status();
    // The probe draws with the layer's own operations, so a window without OpenGL serves as well.
    if (status == grNoOpenGL) std::fprintf(stderr, "layer_probe: %s (carrying on without it)\n", window_error());
    else if (status != grOk) {
        std::fprintf(stderr, "layer_probe: %s\n", window_error());
        return false;
    }
    set_frame_rate(0);
    drawMarks();
    return true;
}

void reportMouse() {
    const int16_t buttons = mouse_buttons(), x = mouse_x(), y = mouse_y();
    if (buttons == P.buttons && x == P.x && y == P.y) return;
    P.buttons = buttons;
    P.x = x;
    P.y = y;
    std::printf("mouse %d %d %d\n", buttons, x, y);
}

bool answersHeld(int number) {
    return (number >= 'A' && number <= 'Z') || number == 27 || (number >= 37 && number <= 40);
}

void reportHeld() {
    for (int number = 0; number < keyNumberCount; ++number) {
        if (!answersHeld(number)) continue;
        const bool held = key_held(number);
        if (held == P.held[number]) continue;
        P.held[number] = held;
        std::printf("held %d %d\n", number, held ? 1 : 0);
    }
}

// One look at the keys and the mouse; false once a lone Escape has been read.
bool runFrame() {
    while (key_waiting()) {
        // The mouse and held keys first: a change made before a key is then always printed before that key, so
        // a test can use a key as the mark that everything it did before has been reported.
        reportMouse();
        reportHeld();
        const uint8_t byte = next_key_byte();
        std::printf("key %d\n", byte);
        if (byte == 27 && !P.pairPending) return false;
        P.pairPending = !P.pairPending && byte == 0;
    }
    reportMouse();
    reportHeld();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return true;
}

void shutDown() { close_window(); }

}  // namespace layerProbe

int main() {
    if (!layerProbe::startUp()) return 1;
    while (layerProbe::runFrame()) {
    }
    layerProbe::shutDown();
    return 0;
}
