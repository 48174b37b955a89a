// xdrive: starts a program in the current X display, plays a script of pointer, key and capture actions on its
// window, then ends it with Escape. Built on the X driver the end-to-end tests use.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/xdriver/driver.h"
#include "tests/support/xdriver/png.h"
#include "tests/support/xdriver/process.h"
#include "tests/support/xdriver/wait.h"

namespace {

constexpr const char* usageText =
    "usage: xdrive [--workdir DIR] [--title T] [--script FILE] [--timeout MS] PROGRAM [ARGS...] < SCRIPT\n"
    "\n"
    "Starts PROGRAM in the X display named by $DISPLAY, waits for its window (titled T, or any window of the\n"
    "program), plays the script on it, then presses Escape and waits for the program to end (killing it after\n"
    "--timeout MS, default 5000). Coordinates are pixels of the window, (0, 0) at its top-left corner.\n"
    "--workdir DIR is the program's working directory (where it finds and writes its files); PROGRAM and shot\n"
    "files are still taken relative to the directory xdrive runs in.\n"
    "\n"
    "Script lines (one action each; '#' starts a comment):\n"
    "  move X Y                  move the pointer\n"
    "  press B | release B       press or release button B (1 or left, 2 or middle, 3 or right)\n"
    "  drag B X1 Y1 X2 Y2        press B at X1 Y1, move to X2 Y2 in small steps, release there\n"
    "  key NAME                  press and release a key: an X keysym name with modifiers, e.g. a, A (shift+a),\n"
    "                            Left, ctrl+Left, alt+a, shift+F1, ctrl+2, Caps_Lock, Return, Escape\n"
    "  hold NAME MS              hold a key down for MS milliseconds\n"
    "  wait MS                   wait MS milliseconds\n"
    "  close                     press the window's close button (WM_DELETE_WINDOW)\n"
    "  shot FILE.png             capture the window into a PNG file\n"
    "\n"
    "Exit status: 0 when every action worked and the program ended by itself with status 0; 1 when an action\n"
    "failed, or the program crashed, ended with another status or had to be killed (one line on stderr says\n"
    "which); 2 for a usage or script error (reported with its line number).\n"
    "Without a display: scripts/with-xvfb.sh xdrive PROGRAM < SCRIPT\n";

enum class Op { Move, Press, Release, Drag, Key, Hold, Wait, Close, Shot };

struct Action {
    Op op = Op::Wait;
    int numbers[5] = {};
    std::string text;
    int line = 0;
};

struct Options {
    std::string workdir, title, scriptPath;
    int timeoutMs = 5000;
    std::vector<std::string> command;
};

bool parseInt(const std::string& word, int& value) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(word.c_str(), &end, 10);
    if (word.empty() || *end != '\0' || errno == ERANGE || v < -100000 || v > 10000000) return false;
    value = static_cast<int>(v);
    return true;
}

bool parseButton(const std::string& word, int& button) {
    if (word == "left") button = 1;
    else if (word == "middle") button = 2;
    else if (word == "right") button = 3;
    else return parseInt(word, button) && button >= 1 && button <= 3;
    return true;
}

// One script line into an action; "" or the reason it is wrong. Blank and comment lines give Op::Wait 0.
std::string parseLine(const std::string& text, Action& action) {
    std::istringstream in(text.substr(0, text.find('#')));
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    action = Action{};
    if (words.empty()) return "";
    const std::string& verb = words[0];
    auto need = [&](size_t count) { return words.size() == count + 1; };
    auto numbersFrom = [&](size_t first, size_t count) {
        for (size_t i = 0; i < count; ++i)
            if (!parseInt(words[first + i], action.numbers[i + (first - 1)])) return false;
        return true;
    };
    if (verb == "move") {
        action.op = Op::Move;
        if (!need(2) || !numbersFrom(1, 2)) return "move needs X Y";
    } else if (verb == "press" || verb == "release") {
        action.op = verb == "press" ? Op::Press : Op::Release;
        if (!need(1) || !parseButton(words[1], action.numbers[0])) return verb + " needs a button 1, 2 or 3";
    } else if (verb == "drag") {
        action.op = Op::Drag;
        if (!need(5) || !parseButton(words[1], action.numbers[0]) || !numbersFrom(2, 4))
            return "drag needs B X1 Y1 X2 Y2";
    } else if (verb == "key") {
        action.op = Op::Key;
        if (!need(1)) return "key needs one key name";
        action.text = words[1];
    } else if (verb == "hold") {
        action.op = Op::Hold;
        if (!need(2) || !parseInt(words[2], action.numbers[0]) || action.numbers[0] < 0)
            return "hold needs a key name and milliseconds";
        action.text = words[1];
    } else if (verb == "wait") {
        action.op = Op::Wait;
        if (!need(1) || !parseInt(words[1], action.numbers[0]) || action.numbers[0] < 0)
            return "wait needs milliseconds";
    } else if (verb == "close") {
        action.op = Op::Close;
        if (!need(0)) return "close takes nothing";
    } else if (verb == "shot") {
        action.op = Op::Shot;
        if (!need(1)) return "shot needs a file name";
        action.text = words[1];
    } else {
        return "unknown action \"" + verb + "\"";
    }
    return "";
}

// The whole script, checked before the program starts; false after reporting the first bad line.
bool readScript(std::istream& in, const std::string& name, std::vector<Action>& actions) {
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        Action action;
        const std::string problem = parseLine(text, action);
        if (!problem.empty()) {
            std::fprintf(stderr, "xdrive: %s:%d: %s\n", name.c_str(), line, problem.c_str());
            return false;
        }
        action.line = line;
        actions.push_back(action);
    }
    return true;
}

bool play(xdrive::Driver& driver, const Action& a) {
    switch (a.op) {
        case Op::Move: return driver.move(a.numbers[0], a.numbers[1]);
        case Op::Press: return driver.press(a.numbers[0]);
        case Op::Release: return driver.release(a.numbers[0]);
        case Op::Drag: return driver.drag(a.numbers[0], a.numbers[1], a.numbers[2], a.numbers[3], a.numbers[4]);
        case Op::Key: return driver.tap(a.text);
        case Op::Hold: return driver.hold(a.text, a.numbers[0]);
        case Op::Wait: xdrive::pause(a.numbers[0]); return true;
        case Op::Close: return driver.closeButton();
        case Op::Shot: {
            xdrive::Image image;
            if (!driver.capture(image)) return false;
            std::string problem;
            if (xdrive::writePng(image, a.text, &problem)) return true;
            std::fprintf(stderr, "xdrive: %s\n", problem.c_str());
            return false;
        }
    }
    return false;
}

// Options up to PROGRAM; 0 to go on, or the exit status to end with.
int parseOptions(int argc, char** argv, Options& options) {
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            std::fputs(usageText, stdout);
            return -1;
        }
        if (option == "--") {
            ++i;
            break;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "xdrive: %s needs a value\n%s", option.c_str(), usageText);
            return 2;
        }
        const std::string value = argv[++i];
        if (option == "--workdir") options.workdir = value;
        else if (option == "--title") options.title = value;
        else if (option == "--script") options.scriptPath = value;
        else if (option == "--timeout" && parseInt(value, options.timeoutMs) && options.timeoutMs >= 0) continue;
        else {
            std::fprintf(stderr, "xdrive: bad option %s %s\n%s", option.c_str(), value.c_str(), usageText);
            return 2;
        }
    }
    if (i >= argc) {
        std::fprintf(stderr, "xdrive: no program given\n%s", usageText);
        return 2;
    }
    options.command.assign(argv + i, argv + argc);
    return 0;
}

// How an ended program ended, for a line on stderr: "exited with status 3", "was killed by signal 11 (...)".
std::string howItEnded(const xdrive::Program& program, int status) {
    if (const int signal = program.endSignal())
        return "was killed by signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
    return "exited with status " + std::to_string(status);
}

// Presses Escape (unless the program has already ended) and waits for the end; false when it had to be killed
// or did not end well: a picture taken of a program that then crashed must not pass for a good one.
bool finish(xdrive::Program& program, xdrive::Driver& driver, const std::string& name, int timeoutMs) {
    int status = 0;
    if (program.running()) driver.tap("Escape");
    if (!program.waitExit(timeoutMs, status)) {
        std::fprintf(stderr, "xdrive: %s did not end within %d ms after Escape; killed\n", name.c_str(), timeoutMs);
        program.kill();
        return false;
    }
    if (status == 0) return true;
    std::fprintf(stderr, "xdrive: %s %s\n", name.c_str(), howItEnded(program, status).c_str());
    return false;
}

// Waits up to 10 s for the program's window, giving up at once if the program ends first.
bool awaitWindow(xdrive::Program& program, xdrive::Driver& driver, const Options& options) {
    const pid_t owner = options.title.empty() ? program.pid() : 0;
    for (int waited = 0; waited < 10000; waited += 100) {
        if (driver.findWindow(options.title, 100, owner)) return true;
        int status = 0;
        if (program.waitExit(0, status)) {
            std::fprintf(stderr, "xdrive: %s %s before showing a window\n", options.command[0].c_str(),
                         howItEnded(program, status).c_str());
            return false;
        }
    }
    if (options.title.empty())
        std::fprintf(stderr, "xdrive: %s showed no window within 10 s\n", options.command[0].c_str());
    else std::fprintf(stderr, "xdrive: no window titled \"%s\" within 10 s\n", options.title.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (const int end = parseOptions(argc, argv, options)) return end < 0 ? 0 : end;

    std::vector<Action> actions;
    if (options.scriptPath.empty()) {
        if (!readScript(std::cin, "stdin", actions)) return 2;
    } else {
        std::ifstream file(options.scriptPath);
        if (!file) {
            std::fprintf(stderr, "xdrive: cannot read %s: %s\n", options.scriptPath.c_str(), std::strerror(errno));
            return 2;
        }
        if (!readScript(file, options.scriptPath, actions)) return 2;
    }

    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        std::fprintf(stderr, "xdrive: DISPLAY is not set (try scripts/with-xvfb.sh xdrive ...)\n");
        return 1;
    }
    xdrive::Driver driver(display);
    if (!driver.connected()) {
        std::fprintf(stderr, "xdrive: %s\n", driver.error().c_str());
        return 1;
    }
    xdrive::Program program;
    if (!program.start(display, options.command, xdrive::Output::Inherit, options.workdir)) {
        std::fprintf(stderr, "xdrive: %s\n", program.error().c_str());
        return 1;
    }
    if (!awaitWindow(program, driver, options)) return 1;
    for (const Action& action : actions) {
        if (!play(driver, action)) {
            std::fprintf(stderr, "xdrive: line %d failed: %s\n", action.line, driver.error().c_str());
            finish(program, driver, options.command[0], options.timeoutMs);
            return 1;
        }
    }
    return finish(program, driver, options.command[0], options.timeoutMs) ? 0 : 1;
}
