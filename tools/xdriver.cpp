// The X driver: private Xvfb, program processes, XTest input, the close button, capture and PNG files.
#include "tools/xdriver.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <png.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <thread>

namespace xdrive {

namespace {

using Clock = std::chrono::steady_clock;

int64_t msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

bool pathExists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// Process id written in the X server lock file of display number n; -1 when there is none yet.
pid_t lockOwner(const std::string& n) {
    FILE* file = std::fopen(("/tmp/.X" + n + "-lock").c_str(), "r");
    if (!file) return -1;
    long pid = -1;
    if (std::fscanf(file, "%ld", &pid) != 1) pid = -1;
    std::fclose(file);
    return static_cast<pid_t>(pid);
}

// Xlib's default handler ends the process on any protocol error (a window that vanished between two calls,
// a capture of a window partly off the screen). Record the error instead; the calls report failure themselves.
int lastXError = 0;
int recordXError(Display*, XErrorEvent* event) {
    lastXError = event->error_code;
    return 0;
}

void installErrorHandler() {
    static bool installed = false;
    if (!installed) {
        XSetErrorHandler(recordXError);
        installed = true;
    }
}

// Reaps pid when it has ended; status as waitExit describes it.
bool reapIfEnded(pid_t pid, int& status, bool block) {
    int raw = 0;
    pid_t got;
    do {
        got = waitpid(pid, &raw, block ? 0 : WNOHANG);
    } while (got < 0 && errno == EINTR);
    if (got != pid) return false;
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : 255;
    return true;
}

}  // namespace

void pause(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs, int everyMs) {
    const auto start = Clock::now();
    for (;;) {
        if (done()) return true;
        if (msSince(start) >= timeoutMs) return false;
        pause(everyMs);
    }
}

std::ostream& operator<<(std::ostream& out, const Rgb& colour) {
    return out << "(" << int(colour.r) << ", " << int(colour.g) << ", " << int(colour.b) << ")";
}

// ---- images ----

Rgb Image::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return {};
    const size_t at = (static_cast<size_t>(y) * width + x) * 3;
    return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

bool writePng(const Image& image, const std::string& path, std::string* error) {
    auto failWith = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    if (image.width <= 0 || image.height <= 0 ||
        image.rgb.size() != static_cast<size_t>(image.width) * image.height * 3)
        return failWith("writePng: empty or inconsistent image");
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return failWith("writePng: cannot create " + path + ": " + std::strerror(errno));
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        std::fclose(file);
        return failWith("writePng: out of memory");
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return failWith("writePng: libpng failed writing " + path);
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, image.rgb.data() + static_cast<size_t>(y) * image.width * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0) return failWith("writePng: cannot finish " + path + ": " + std::strerror(errno));
    return true;
}

bool readPng(const std::string& path, Image& image, std::string* error) {
    auto failWith = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    png_image reader;
    std::memset(&reader, 0, sizeof reader);
    reader.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&reader, path.c_str()))
        return failWith("readPng: " + path + ": " + reader.message);
    reader.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(reader));
    if (!png_image_finish_read(&reader, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&reader);
        return failWith("readPng: " + path + ": " + reader.message);
    }
    image.width = static_cast<int>(reader.width);
    image.height = static_cast<int>(reader.height);
    image.rgb = std::move(pixels);
    return true;
}

// ---- the X server ----

XServer::XServer() {
    for (int number = 90; number < 400; ++number) {
        const std::string n = std::to_string(number);
        if (pathExists("/tmp/.X" + n + "-lock") || pathExists("/tmp/.X11-unix/X" + n)) continue;
        const std::string candidate = ":" + n;
        const pid_t pid = fork();
        if (pid < 0) {
            error_ = std::string("XServer: fork failed: ") + std::strerror(errno);
            return;
        }
        if (pid == 0) {
            // A test process that crashes or is killed by a timeout runs no destructor: the server must not
            // outlive it.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            const int devNull = open("/dev/null", O_RDWR);
            if (devNull >= 0) {
                dup2(devNull, 0);
                dup2(devNull, 1);
                dup2(devNull, 2);
            }
            execlp("Xvfb", "Xvfb", candidate.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset",
                   "-ardelay", "10000", static_cast<char*>(nullptr));
            _exit(127);
        }
        // Wait until it answers; if it ends first, another process probably took the number: try the next.
        const auto start = Clock::now();
        int status = 0;
        bool ended = false;
        Display* probe = nullptr;
        while (msSince(start) < 10000) {
            if ((ended = reapIfEnded(pid, status, false))) {
                if (status == 127) {
                    error_ = "XServer: cannot run Xvfb (is it installed?)";
                    return;
                }
                break;
            }
            // Answering is not enough: a server started a moment earlier by another test may answer on this
            // number while ours is still finding out that it lost the race. The lock file names the winner.
            if (lockOwner(n) == pid && (probe = XOpenDisplay(candidate.c_str()))) {
                XCloseDisplay(probe);
                pid_ = pid;
                name_ = candidate;
                error_.clear();
                return;
            }
            pause(20);
        }
        if (!ended) {  // alive but silent for 10 s: give up on it
            kill(pid, SIGKILL);
            reapIfEnded(pid, status, true);
            error_ = "XServer: Xvfb " + candidate + " did not answer within 10 s";
        }
    }
    if (error_.empty()) error_ = "XServer: no free display number";
}

XServer::~XServer() {
    if (pid_ <= 0) return;
    int status = 0;
    kill(pid_, SIGTERM);
    const auto start = Clock::now();
    while (!reapIfEnded(pid_, status, false)) {
        if (msSince(start) > 3000) {
            kill(pid_, SIGKILL);
            reapIfEnded(pid_, status, true);
            break;
        }
        pause(10);
    }
}

XServer& sharedServer() {
    // Never destroyed: statics that still hold connections to it (a driver, a program's window) may be destroyed
    // after it at exit, and Xlib ends the process with an error when a connection's server has gone. The server
    // stops when this process has ended, by the death signal it asked for.
    static XServer* server = new XServer;
    return *server;
}

// ---- programs ----

Program::~Program() {
    kill();
    if (outFd_ >= 0) close(outFd_);
}

bool Program::start(const std::string& display, const std::vector<std::string>& argv, Output output,
                    const std::string& workdir) {
    if (pid_ > 0) {
        error_ = "Program: already started; use one Program a run";
        return false;
    }
    if (argv.empty()) {
        error_ = "Program: no program given";
        return false;
    }
    const bool capture = output != Output::Inherit;
    int fds[2] = {-1, -1};
    if (capture && pipe2(fds, O_CLOEXEC) != 0) {  // no other child may hold the write end open
        error_ = std::string("Program: pipe failed: ") + std::strerror(errno);
        return false;
    }
    // Built before fork: the child only calls async-signal-safe functions.
    std::string path = argv[0];
    if (path.find('/') != std::string::npos && path[0] != '/') {
        char here[4096];
        if (!getcwd(here, sizeof here)) {
            error_ = std::string("Program: getcwd failed: ") + std::strerror(errno);
            return false;
        }
        path = std::string(here) + "/" + path;
    }
    std::vector<char*> args;
    args.push_back(const_cast<char*>(path.c_str()));
    for (size_t i = 1; i < argv.size(); ++i) args.push_back(const_cast<char*>(argv[i].c_str()));
    args.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        error_ = std::string("Program: fork failed: ") + std::strerror(errno);
        if (capture) {
            close(fds[0]);
            close(fds[1]);
        }
        return false;
    }
    if (pid == 0) {
        setpgid(0, 0);  // its own process group, so kill() also ends whatever it started
        if (capture) {
            dup2(fds[1], 1);
            if (output == Output::StdoutAndStderr) dup2(fds[1], 2);
            close(fds[0]);
            close(fds[1]);
        }
        if (!workdir.empty() && chdir(workdir.c_str()) != 0) _exit(126);
        setenv("DISPLAY", display.c_str(), 1);
        execvp(args[0], args.data());
        _exit(127);
    }
    setpgid(pid, pid);  // also here, so that the group exists before start returns, whoever runs first
    pid_ = pid;
    live_ = true;
    if (capture) {
        close(fds[1]);
        outFd_ = fds[0];
        fcntl(outFd_, F_SETFL, fcntl(outFd_, F_GETFL) | O_NONBLOCK);
    }
    return true;
}

bool Program::readLine(std::string& line, int timeoutMs) {
    if (outFd_ < 0) {
        error_ = "Program: output not captured";
        return false;
    }
    const auto start = Clock::now();
    for (;;) {
        const size_t newline = pending_.find('\n');
        if (newline != std::string::npos) {
            line = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            return true;
        }
        if (outputEnded_) {
            if (!pending_.empty()) {  // a last line without its newline
                line = pending_;
                pending_.clear();
                return true;
            }
            error_ = "Program: end of output";
            return false;
        }
        const int64_t left = timeoutMs - msSince(start);
        if (left <= 0) {
            error_ = "Program: no line within " + std::to_string(timeoutMs) + " ms";
            return false;
        }
        pollfd p{outFd_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
        char buffer[4096];
        const ssize_t got = read(outFd_, buffer, sizeof buffer);
        if (got > 0) pending_.append(buffer, static_cast<size_t>(got));
        else if (got == 0 || (errno != EAGAIN && errno != EINTR)) outputEnded_ = true;
    }
}

bool Program::waitExit(int timeoutMs, int& status) {
    if (pid_ <= 0) {
        error_ = "Program: never started";
        return false;
    }
    const auto start = Clock::now();
    while (live_ && !reapIfEnded(pid_, exitStatus_, false)) {
        if (msSince(start) >= timeoutMs) {
            error_ = "Program: still running after " + std::to_string(timeoutMs) + " ms";
            return false;
        }
        pause(10);
    }
    live_ = false;
    status = exitStatus_;
    return true;
}

bool Program::running() {
    if (live_ && reapIfEnded(pid_, exitStatus_, false)) live_ = false;
    return live_;
}

void Program::kill() {
    if (!live_) return;  // a reaped id may already belong to another process
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);  // in case it had not yet made its own group
    reapIfEnded(pid_, exitStatus_, true);
    live_ = false;
}

// ---- the driver ----

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
    const auto start = Clock::now();
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
        if (window_) break;
        if (msSince(start) >= timeoutMs) {
            const std::string named = title.empty() ? "named window" : "window titled \"" + title + "\"";
            const std::string which = named + (pid > 0 ? " of process " + std::to_string(pid) : std::string());
            return fail("Driver: no " + which + " within " + std::to_string(timeoutMs) + " ms");
        }
        pause(20);
    }
    // Without a window manager nobody gives the window the keyboard: keys would follow the pointer.
    lastXError = 0;
    XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
    return settle();
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

bool Driver::settle() {
    lastXError = 0;
    XSync(display_, False);
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
    lastXError = 0;
    XSendEvent(display_, window_, False, NoEventMask, &event);
    settle();
    if (lastXError)
        return fail("Driver: the close message could not be sent (X error " + std::to_string(lastXError) + ")");
    return true;
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
    const auto start = Clock::now();
    for (;;) {
        if (!capture(image)) return false;
        if (done(image)) return true;
        if (msSince(start) >= timeoutMs)
            return fail("Driver: the window did not show what was awaited within " + std::to_string(timeoutMs) + " ms");
        pause(20);
    }
}

}  // namespace xdrive
