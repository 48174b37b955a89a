// The X driver: runs a program under a private X server and plays a player's part on it.
//
// Tests and the xdrive command use it to start a built program, find its window by title, move the pointer,
// press buttons and keys through XTest, press the close button the way a window manager does, and capture the
// window's pixels. All window coordinates are relative to the window's top-left pixel, so a test never needs to
// know where on the screen the window sits.
//
// Every operation that can fail returns false and leaves a one-line reason in error(); nothing throws.
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

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

typedef struct _XDisplay Display;  // Xlib's own declaration, so users need not include Xlib.h

namespace xdrive {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
// "(r, g, b)": test messages and GoogleTest's printer show a colour this way.
std::ostream& operator<<(std::ostream& out, const Rgb& colour);

// An RGB picture, 3 bytes a pixel, rows top to bottom.
struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    // Colour at (x, y); black outside the picture.
    Rgb pixel(int x, int y) const;
};

// Writes / reads an 8-bit RGB PNG file.
bool writePng(const Image& image, const std::string& path, std::string* error = nullptr);
bool readPng(const std::string& path, Image& image, std::string* error = nullptr);

// A private Xvfb (1024 x 768 x 24, no TCP, no reset between clients, no key repeat) on a free display number,
// stopped when this object is destroyed, and also when the process that started it dies without cleaning up.
// The constructor waits until the server answers (at most 10 s).
class XServer {
public:
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool ok() const { return pid_ > 0; }
    const std::string& name() const { return name_; }  // ":N", the value for DISPLAY
    const std::string& error() const { return error_; }

private:
    pid_t pid_ = -1;
    std::string name_;
    std::string error_;
};

// The one private server of this process, started at the first call and stopped once the process has ended. Test
// cases share it rather than start a server each; check ok() before use, since a failed start is kept too.
XServer& sharedServer();

// What Program::start captures for readLine; the rest goes where the caller's own output goes.
enum class Output { Inherit, Stdout, StdoutAndStderr };

// A program started with DISPLAY set to a given server, in a process group of its own; the group is killed
// (SIGKILL) when this object is destroyed while the program still runs.
class Program {
public:
    Program() = default;
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // argv[0] is the program: a path (a relative one is taken from the caller's directory, not the workdir) or a
    // name looked up in PATH. An exec failure shows up as exit status 127, a bad workdir as 126.
    // workdir "" keeps the current directory.
    bool start(const std::string& display, const std::vector<std::string>& argv, Output output = Output::Inherit,
               const std::string& workdir = "");
    pid_t pid() const { return pid_; }

    // Next line of captured output, without its newline; false on timeout or end of output (error() says which).
    bool readLine(std::string& line, int timeoutMs);

    // Waits for the program to end; status is its exit code, or 128 + the signal that ended it. Once it has
    // ended, every later call gives the same status at once.
    bool waitExit(int timeoutMs, int& status);
    bool running();
    // Sends SIGKILL to the program's process group and reaps the program.
    void kill();

    const std::string& error() const { return error_; }

private:
    pid_t pid_ = -1;
    bool live_ = false;    // started and not yet reaped
    int exitStatus_ = -1;  // once reaped
    int outFd_ = -1;
    std::string pending_;  // output read but not yet returned as a line
    bool outputEnded_ = false;
    std::string error_;
};

// One X connection driving one top-level window.
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

// Asks done() every everyMs milliseconds until it holds; false when it still does not after timeoutMs. For
// waiting on a state that is not a picture: a file a program writes, a line of output, a process ending.
bool waitUntil(const std::function<bool()>& done, int timeoutMs, int everyMs = 10);

// Sleeps for ms milliseconds. Only for the length of an action (a key held down for a while); to wait for a
// program, wait for what it shows (Driver::captureUntil) or does (waitUntil).
void pause(int ms);

}  // namespace xdrive
