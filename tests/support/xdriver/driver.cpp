#include "tests/support/xdriver/driver.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <vector>

#include "tests/support/xdriver/wait.h"

namespace xdrive {

namespace {

// Xlib's default handler ends the process on any protocol error (a window that vanished between two calls,
// a capture of a window partly off the screen). Record the error instead; the calls report failure themselves.
int lastXError = 0;
int lastXRequest = 0;
int recordXError(Display*, XErrorEvent* event) {
    lastXError = event->error_code;
    lastXRequest = event->request_code;
    return 0;
}

void installErrorHandler() {
    static bool installed = false;
    if (!installed) {
        XSetErrorHandler(recordXError);
        installed = true;
    }
}

// "BadWindow (invalid Window parameter) in X_SetInputFocus": the last recorded error as Xlib names it.
std::string describeXError(Display* display) {
    char text[256] = "";
    XGetErrorText(display, lastXError, text, sizeof text);
    char request[128] = "";
    const std::string number = std::to_string(lastXRequest);
    XGetErrorDatabaseText(display, "XRequest", number.c_str(), ("request " + number).c_str(), request, sizeof request);
    return std::string(text) + " in " + request;
}

}  // namespace

Driver::Driver(const std::string& display) {
    installErrorHandler();
    display_ = XOpenDisplay(display.empty() ? nullptr : display.c_str());
    if (!display_) {
        error_ = "Driver: cannot open display " + (display.empty() ? std::string("$DISPLAY") : display);
        return;
    }
    int event, error, major, minor;
    if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) {
        error_ = "Driver: the X server has no XTEST extension";
        XCloseDisplay(display_);
        display_ = nullptr;
    }
}

Driver::~Driver() {
    if (display_) XCloseDisplay(display_);
}

bool Driver::fail(const std::string& why) {
    error_ = why;
    return false;
}

namespace {

std::string windowTitle(Display* display, Window window) {
    std::string title;
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) ==
            Success &&
        data) {
        if (type == utf8 && format == 8) title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    if (!title.empty()) return title;
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

// The process that owns the window as its client says, 0 when it does not say.
long windowPid(Display* display, Window window) {
    long pid = 0;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL, &type,
                           &format, &count, &after, &data) == Success &&
        data) {
        if (type == XA_CARDINAL && format == 32 && count == 1) pid = *reinterpret_cast<long*>(data);
        XFree(data);
    }
    return pid;
}

bool isViewable(Display* display, Window window) {
    XWindowAttributes attributes;
    lastXError = 0;
    if (!XGetWindowAttributes(display, window, &attributes) || lastXError) return false;
    return attributes.map_state == IsViewable;
}

}  // namespace

bool Driver::findWindow(const std::string& title, int timeoutMs, pid_t pid) {
    if (!display_) return false;
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        Window root, parent, *children = nullptr;
        unsigned int count = 0;
        window_ = 0;
        if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) {
            for (unsigned int i = 0; i < count && !window_; ++i) {
                const std::string name = windowTitle(display_, children[i]);
                if ((title.empty() ? !name.empty() : name == title) && isViewable(display_, children[i]) &&
                    (pid <= 0 || windowPid(display_, children[i]) == pid))
                    window_ = children[i];
            }
            if (children) XFree(children);
        }
        if (window_) {
            // Without a window manager nobody gives the window the keyboard: keys would follow the pointer. A
            // window that went away before it took the focus is not the one: look again.
            XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
            if (settle()) return true;
            window_ = 0;
        }
        if (msSince(start) >= timeoutMs) {
            const std::string named = title.empty() ? "named window" : "window titled \"" + title + "\"";
            const std::string which = named + (pid > 0 ? " of process " + std::to_string(pid) : std::string());
            return fail("Driver: no " + which + " within " + std::to_string(timeoutMs) + " ms");
        }
        pause(20);
    }
}

bool Driver::windowExists() {
    if (!display_ || !window_) return false;
    return isViewable(display_, window_);
}

bool Driver::geometry(int& rootX, int& rootY, int& width, int& height) {
    if (!display_ || !window_) return fail("Driver: no window");
    XWindowAttributes attributes;
    Window child;
    lastXError = 0;
    if (!XGetWindowAttributes(display_, window_, &attributes) || lastXError) return fail("Driver: the window is gone");
    if (!XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), 0, 0, &rootX, &rootY, &child))
        return fail("Driver: cannot place the window on the screen");
    width = attributes.width;
    height = attributes.height;
    return true;
}

// Sends the action's requests and waits for the server to have handled them: their errors arrive here, since
// Xlib sends requests only now. An error fails the action, so a caller never goes on as if it had worked.
bool Driver::settle() {
    lastXError = 0;
    XSync(display_, False);
    if (lastXError) return fail("Driver: X error " + describeXError(display_));
    pause(settleMs_);
    return true;
}

bool Driver::move(int x, int y) {
    int rootX, rootY, width, height;
    if (!geometry(rootX, rootY, width, height)) return false;
    XTestFakeMotionEvent(display_, DefaultScreen(display_), rootX + x, rootY + y, CurrentTime);
    return settle();
}

bool Driver::press(int button) {
    if (!display_) return fail("Driver: not connected");
    if (button < 1 || button > 5) return fail("Driver: no button " + std::to_string(button));
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), True, CurrentTime);
    return settle();
}

bool Driver::release(int button) {
    if (!display_) return fail("Driver: not connected");
    if (button < 1 || button > 5) return fail("Driver: no button " + std::to_string(button));
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), False, CurrentTime);
    return settle();
}

bool Driver::click(int button, int x, int y) { return move(x, y) && press(button) && release(button); }

bool Driver::drag(int button, int x1, int y1, int x2, int y2, int steps) {
    if (steps < 1) steps = 1;
    if (!move(x1, y1) || !press(button)) return false;
    for (int i = 1; i <= steps; ++i)
        if (!move(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps)) return false;
    return release(button);
}

namespace {

struct KeyPlan {
    std::vector<KeyCode> modifiers;  // pressed in order, released in reverse
    KeyCode key = 0;
};

// Splits "ctrl+shift+F1" into modifier keys and the key; "A" is shift + the a key. Returns "" or the reason.
std::string planKey(Display* display, const std::string& chord, KeyPlan& plan) {
    std::string rest = chord;
    auto addModifier = [&](const char* keysymName) {
        const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(keysymName));
        if (code && std::find(plan.modifiers.begin(), plan.modifiers.end(), code) == plan.modifiers.end())
            plan.modifiers.push_back(code);
        return code != 0;
    };
    for (size_t plus; (plus = rest.find('+')) != std::string::npos && plus + 1 < rest.size();) {
        std::string modifier = rest.substr(0, plus);
        for (char& c : modifier) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const char* keysym = modifier == "shift"                           ? "Shift_L"
                             : modifier == "ctrl" || modifier == "control" ? "Control_L"
                             : modifier == "alt"                           ? "Alt_L"
                                                                           : nullptr;
        if (!keysym) return "unknown modifier \"" + modifier + "\" in \"" + chord + "\"";
        if (!addModifier(keysym)) return std::string("the keyboard has no ") + keysym;
        rest.erase(0, plus + 1);
    }
    if (rest.size() == 1 && std::isupper(static_cast<unsigned char>(rest[0]))) {
        if (!addModifier("Shift_L")) return "the keyboard has no Shift_L";
        rest[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(rest[0])));
    }
    const KeySym keysym = XStringToKeysym(rest.c_str());
    if (keysym == NoSymbol) return "unknown key name \"" + rest + "\" in \"" + chord + "\"";
    plan.key = XKeysymToKeycode(display, keysym);
    if (!plan.key) return "the keyboard has no key for \"" + rest + "\"";
    // A symbol only on the shifted level of its key ("exclam", "plus" on a US keyboard) needs Shift to be typed.
    const bool shiftedOnly =
        XkbKeycodeToKeysym(display, plan.key, 0, 0) != keysym && XkbKeycodeToKeysym(display, plan.key, 0, 1) == keysym;
    if (shiftedOnly && !addModifier("Shift_L")) return "the keyboard has no Shift_L";
    return "";
}

}  // namespace

bool Driver::keyEvent(const std::string& key, bool down) {
    if (!display_) return fail("Driver: not connected");
    KeyPlan plan;
    const std::string problem = planKey(display_, key, plan);
    if (!problem.empty()) return fail("Driver: " + problem);
    if (down) {
        for (KeyCode code : plan.modifiers) XTestFakeKeyEvent(display_, code, True, CurrentTime);
        XTestFakeKeyEvent(display_, plan.key, True, CurrentTime);
    } else {
        XTestFakeKeyEvent(display_, plan.key, False, CurrentTime);
        for (size_t i = plan.modifiers.size(); i-- > 0;)
            XTestFakeKeyEvent(display_, plan.modifiers[i], False, CurrentTime);
    }
    return settle();
}

bool Driver::keyDown(const std::string& key) { return keyEvent(key, true); }
bool Driver::keyUp(const std::string& key) { return keyEvent(key, false); }
bool Driver::tap(const std::string& key) { return keyDown(key) && keyUp(key); }

bool Driver::hold(const std::string& key, int ms) {
    if (!keyDown(key)) return false;
    pause(ms);
    return keyUp(key);
}

bool Driver::closeButton() {
    if (!display_ || !window_) return fail("Driver: no window");
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window_;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window_, False, NoEventMask, &event);
    return settle();
}

bool Driver::resetInput() {
    if (!display_) return fail("Driver: not connected");
    char keys[32];
    XQueryKeymap(display_, keys);
    for (unsigned int code = 8; code < 256; ++code)
        if (keys[code / 8] & (1 << (code % 8))) XTestFakeKeyEvent(display_, code, False, CurrentTime);
    Window root, child;
    int rootX, rootY, x, y;
    unsigned int mask = 0;
    XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &rootX, &rootY, &x, &y, &mask);
    const unsigned int buttonMasks[5] = {Button1Mask, Button2Mask, Button3Mask, Button4Mask, Button5Mask};
    for (unsigned int b = 0; b < 5; ++b)
        if (mask & buttonMasks[b]) XTestFakeButtonEvent(display_, b + 1, False, CurrentTime);
    // Caps Lock and Num Lock go off by a press of their keys, as a player would do it: a program keeps its own idea
    // of the lock state from the key events it sees, and would miss a lock changed behind its back.
    static constexpr KeySym lockKeys[2] = {XK_Caps_Lock, XK_Num_Lock};
    for (KeySym keysym : lockKeys) {
        XkbStateRec state;
        const unsigned int mask = XkbKeysymToModifiers(display_, keysym);
        const KeyCode code = XKeysymToKeycode(display_, keysym);
        if (!mask || !code || XkbGetState(display_, XkbUseCoreKbd, &state) != Success) continue;
        if (!(state.locked_mods & mask)) continue;
        XTestFakeKeyEvent(display_, code, True, CurrentTime);
        XTestFakeKeyEvent(display_, code, False, CurrentTime);
    }
    XkbStateRec state;
    if (XkbGetState(display_, XkbUseCoreKbd, &state) == Success && state.locked_mods)
        XkbLockModifiers(display_, XkbUseCoreKbd, state.locked_mods, 0);
    XSync(display_, False);
    return true;
}

namespace {

// Scales a masked channel to 0..255 whatever the visual's bit layout.
uint8_t channel(unsigned long pixel, unsigned long mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long max = mask >> shift;
    return static_cast<uint8_t>(((pixel & mask) >> shift) * 255 / max);
}

}  // namespace

bool Driver::capture(Image& image) {
    int rootX, rootY, width, height;
    if (!geometry(rootX, rootY, width, height)) return false;
    XSync(display_, False);
    lastXError = 0;
    XImage* shot = XGetImage(display_, window_, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                             AllPlanes, ZPixmap);
    XSync(display_, False);
    if (!shot) return fail("Driver: XGetImage failed (X error " + std::to_string(lastXError) + ")");
    image.width = width;
    image.height = height;
    image.rgb.assign(static_cast<size_t>(width) * height * 3, 0);
    uint8_t* out = image.rgb.data();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(shot, x, y);
            *out++ = channel(pixel, shot->red_mask);
            *out++ = channel(pixel, shot->green_mask);
            *out++ = channel(pixel, shot->blue_mask);
        }
    XDestroyImage(shot);
    return true;
}

bool Driver::captureUntil(Image& image, const std::function<bool(const Image&)>& done, int timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        if (!capture(image)) return false;
        if (done(image)) return true;
        if (msSince(start) >= timeoutMs)
            return fail("Driver: the window did not show what was awaited within " + std::to_string(timeoutMs) + " ms");
        pause(20);
    }
}

}  // namespace xdrive
