// The driver of one program's window under X: finds the window by title, moves the pointer, presses buttons and
// keys through XTest, presses the close button the way a window manager does, and captures the window's pixels.
// All window coordinates are relative to the window's top-left pixel, so a test never needs to know where on the
// screen the window sits. Every operation that can fail returns false and leaves a one-line reason in error();
// nothing throws.
//
//   xdrive::XServer& server = xdrive::sharedServer();        // this process's private Xvfb, started once
//   ASSERT_TRUE(server.ok()) << server.error();
//   xdrive::Program program;
//   ASSERT_TRUE(program.start(server.name(), {binDir + "/layer_probe"}, xdrive::Output::Stdout))
//       << program.error();
//   xdrive::Driver driver(server.name());
//   ASSERT_TRUE(driver.findWindow("LAYER PROBE", 5000, program.pid())) << driver.error();
//   driver.tap("shift+F1");
//   std::string line;
//   program.readLine(line, 2000);                            // "key 0", then "key 84"
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

#include "tests/support/xdriver/png.h"

typedef struct _XDisplay Display;  // Xlib's own declaration, so users need not include Xlib.h

namespace xdrive {

// One X connection driving one top-level window. An action succeeds only when the X server took every request it
// made: an X error fails it, and error() names the error and the request.
class Driver {
public:
    // display "" means $DISPLAY.
    explicit Driver(const std::string& display);
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    bool connected() const { return display_ != nullptr; }
    Display* display() const { return display_; }

    // Waits until a viewable top-level window whose WM_NAME or _NET_WM_NAME equals title exists ("" takes any
    // named one), then gives it the keyboard focus as a window manager would. With pid > 0 the window must also
    // belong to that process (_NET_WM_PID), so other clients of a shared display are never picked.
    bool findWindow(const std::string& title, int timeoutMs, pid_t pid = 0);
    unsigned long window() const { return window_; }
    bool windowExists();  // the found window is still there and viewable
    // Window's top-left pixel and size on the screen.
    bool geometry(int& rootX, int& rootY, int& width, int& height);

    // Pointer and buttons (1 left, 2 middle, 3 right); coordinates are window-relative and may lie outside it.
    bool move(int x, int y);
    bool press(int button);
    bool release(int button);
    bool click(int button, int x, int y);
    // Press at (x1, y1), move to (x2, y2) in steps small moves, release there.
    bool drag(int button, int x1, int y1, int x2, int y2, int steps = 8);

    // Keys by X keysym name with modifiers joined by '+': "a", "A" (shift+a), "shift+F1", "ctrl+Left", "alt+a",
    // "Caps_Lock", "Escape", "Return", "ctrl+2", "exclam" (shift+1: a symbol on the shifted level gets Shift).
    // keyDown presses the modifiers then the key; keyUp releases the key then the modifiers.
    bool keyDown(const std::string& key);
    bool keyUp(const std::string& key);
    bool tap(const std::string& key);
    bool hold(const std::string& key, int ms);

    // The window's close button: a WM_PROTOCOLS / WM_DELETE_WINDOW client message.
    bool closeButton();

    // Lets go of every key and button still down and turns off Caps Lock, Num Lock and any other locked
    // modifier. On a shared server the next test then starts from an idle keyboard and pointer, whatever this
    // one left behind (a failed assertion between a press and its release, a Caps Lock case).
    bool resetInput();

    // The window's pixels.
    bool capture(Image& image);
    // Captures again and again (every 20 ms) until done(image) holds; false with the last capture in image when
    // it does not within timeoutMs. For checking a picture that an animation is still moving towards.
    bool captureUntil(Image& image, const std::function<bool(const Image&)>& done, int timeoutMs);

    // Wait after every action so the program sees its events (default 30 ms).
    void setSettleMs(int ms) { settleMs_ = ms; }
    const std::string& error() const { return error_; }

private:
    bool keyEvent(const std::string& key, bool down);
    bool settle();
    bool fail(const std::string& why);

    Display* display_ = nullptr;
    unsigned long window_ = 0;
    int settleMs_ = 30;
    std::string error_;
};

}  // namespace xdrive
