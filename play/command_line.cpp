#include "play/command_line.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "play/program_window.h"

#include "window/window.h"

#ifndef PUZZLES_VERSION
#error "PUZZLES_VERSION must be set by the build (the project's version)"
#endif

namespace play {

namespace {

constexpr std::string_view helpOption = "--help";
constexpr std::string_view versionOption = "--version";
constexpr std::string_view recordOption = "--record";
constexpr std::string_view replayOption = "--replay";
constexpr std::string_view headlessOption = "--headless";
constexpr std::string_view timedemoOption = "--timedemo";
constexpr std::string_view scaleOption = "--scale";

constexpr const char* unknownArgument = "unknown argument";
constexpr const char* noScale = "is no scale for --scale: give a whole number from 1 to 8, or auto";

// The same for every program, so written here once. A tag too long for its column stands on a line of its own,
// its text below it at the column, as help2man reads it.
constexpr std::string_view options = R"(
  --scale N     Shows the window N times larger, each pixel as an N x N
                block, for N from 1 (the usual size) to 8; auto takes the
                largest that fits on the screen, and a scale too large for it
                falls back to that. Nothing else changes.
  --record FILE
                Plays as usual and writes the game to FILE as it goes: what
                every frame read from the mouse, the keys and the clock. FILE
                is replaced only when it is itself a recording.
  --replay FILE
                Plays the game recorded in FILE again in the window, reading
                and writing no other file, and says whether it ended in the
                recorded state. Escape or the close button ends it early.
  --headless    With --replay: plays it without a window, as fast as it goes,
                and prints the frame count and the final state's digest.
  --timedemo FILE
                Plays the recording in FILE in the window as fast as it draws,
                and prints the frames per second.
  --help        Prints this help and exits.
  --version     Prints the program's name and version and exits.
)";
constexpr std::string_view exitStatus = R"(
  0             Escape ended the program, the help or version was printed, or
                a replay ended in the recorded state.
  1             The window could not be opened, the help or version could not
                be written, or a replay ended in another state, ran short or
                was stopped.
  2             An argument other than these, options that do not go
                together, a scale other than 1 to 8 or auto, or a FILE that
                may not be replaced or is no readable recording of this
                program.
)";
constexpr std::string_view environment = R"(
  TWISTY_SCALE  The window's scale when --scale is not given, with the same
                values: set it once for every program, e.g. for the menu's
                launchers on a high-density screen.
)";

void put(std::FILE* f, std::string_view s) { std::fwrite(s.data(), 1, s.size(), f); }

// An argument as the player can read it back on one line: control bytes, which would break the line or act on the
// terminal, written as C escapes (\n, \t, \x1b); everything else, UTF-8 included, as it came.
void putArgument(std::FILE* f, std::string_view argument) {
    constexpr char hex[] = "0123456789abcdef";
    for (const char c : argument) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            put(f, "\\n");
        } else if (c == '\t') {
            put(f, "\\t");
        } else if (byte < 0x20 || byte == 0x7f) {
            const char escape[] = {'\\', 'x', hex[byte >> 4], hex[byte & 0xf]};
            put(f, std::string_view(escape, sizeof escape));
        } else {
            std::fputc(c, f);
        }
    }
}

// A block text without the line breaks that open and close its raw string literal.
std::string_view lines(std::string_view block) {
    while (!block.empty() && block.front() == '\n') block.remove_prefix(1);
    while (!block.empty() && block.back() == '\n') block.remove_suffix(1);
    return block;
}

void putUsage(std::FILE* f, std::string_view name) {
    put(f, "Usage: ");
    put(f, name);
    put(f, " [OPTION]...\n");
}

// A heading help2man knows ("Files:") or that the page turns into a section ("Controls:", "Exit status:"), then
// the block under it.
void putSection(std::FILE* f, std::string_view heading, std::string_view block) {
    put(f, "\n");
    put(f, heading);
    put(f, ":\n");
    put(f, lines(block));
    put(f, "\n");
}

void putHelp(std::FILE* f, const ProgramText& text) {
    putUsage(f, text.name);
    put(f, text.summary);
    put(f, ".\n\n");
    put(f, lines(text.description));
    put(f, "\n");
    putSection(f, "Controls", text.controls);
    // In the order of a manual page's sections, which help2man makes of these.
    putSection(f, "Options", options);
    putSection(f, "Exit status", exitStatus);
    if (!lines(text.files).empty()) putSection(f, "Files", text.files);
    putSection(f, "Environment", environment);
}

void putVersion(std::FILE* f, std::string_view name) {
    put(f, name);
    put(f, " " PUZZLES_VERSION "\n");
}

// Starts the recording or replay the command line asks for: true, or false with one line on err.
bool startSession(const CommandLine& line, const ProgramText& text, std::FILE* err) {
    char error[4096 + 512] = "";
    const std::string name(text.name), record(line.record), replay(line.replay);
    bool started = true;
    if (!record.empty()) {
        started = start_recording(record.c_str(), name.c_str(), PUZZLES_VERSION, error, sizeof error);
    } else if (!replay.empty()) {
        const int16_t how = line.timedemo ? replayTimed : line.headless ? replayHeadless : replayInWindow;
        started = start_replay(replay.c_str(), name.c_str(), how, error, sizeof error);
    }
    if (!started) {
        put(err, text.name);
        put(err, ": ");
        putArgument(err, error);
        put(err, "\n");
    }
    return started;
}

}  // namespace

std::optional<int16_t> parseScale(std::string_view text) {
    if (text == "auto") return int16_t{0};
    if (text.empty()) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = std::min(value * 10 + (c - '0'), 100);  // any number of digits, no overflow
    }
    if (value < 1 || value > 8) return std::nullopt;
    return static_cast<int16_t>(value);
}

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    bool help = false, version = false, sessionGiven = false;
    std::string_view headless;
    auto refuse = [&line](std::string_view argument, const char* problem) {
        line.action = CommandLine::Action::refuse;
        line.argument = argument;
        line.problem = problem;
        return line;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const bool session = argument == recordOption || argument == replayOption || argument == timedemoOption;
        if (argument == scaleOption) {
            if (line.scale >= 0) return refuse(argument, "goes only once");
            if (i + 1 >= argc) return refuse(argument, "needs N from 1 to 8, or auto, after it");
            const std::optional<int16_t> scale = parseScale(argv[++i]);
            if (!scale) return refuse(argv[i], noScale);
            line.scale = *scale;
        } else if (argument == helpOption) {
            help = true;
        } else if (argument == versionOption) {
            version = true;
        } else if (argument == headlessOption) {
            headless = argument;
        } else if (!session) {
            return refuse(argument, unknownArgument);
        } else if (sessionGiven) {
            return refuse(argument, "goes with no other of --record, --replay and --timedemo");
        } else if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            return refuse(argument, "needs a FILE after it");
        } else {
            sessionGiven = true;
            const std::string_view file = argv[++i];
            if (argument == recordOption) line.record = file;
            else line.replay = file;
            line.timedemo = argument == timedemoOption;
        }
    }
    if (!headless.empty() && (line.replay.empty() || line.timedemo)) return refuse(headless, "goes only with --replay");
    line.headless = !headless.empty();
    if (help) line.action = CommandLine::Action::help;
    else if (version) line.action = CommandLine::Action::version;
    return line;
}

std::optional<int> readCommandLine(int argc, const char* const* argv, const ProgramText& text, std::FILE* out,
                                   std::FILE* err) {
    const CommandLine line = parseCommandLine(argc, argv);
    if (line.action == CommandLine::Action::refuse) {
        put(err, text.name);
        put(err, ": ");
        if (line.problem == unknownArgument) {
            put(err, "unknown argument '");
            putArgument(err, line.argument);
            put(err, "'\n");
            putUsage(err, text.name);
        } else {
            // A value is quoted, so that an empty one or one with spaces reads as it was given.
            const std::string_view quote = line.problem == noScale ? "'" : "";
            put(err, quote);
            putArgument(err, line.argument);
            put(err, quote);
            put(err, " ");
            put(err, line.problem);
            put(err, "\n");
        }
        return 2;
    }
    if (line.action == CommandLine::Action::play) {
        int16_t scale = line.scale;
        const char* variable = std::getenv(scaleVariable);
        if (scale < 0 && variable != nullptr && *variable != '\0') {
            const std::optional<int16_t> fromVariable = parseScale(variable);
            if (!fromVariable) {
                put(err, text.name);
                put(err, ": ");
                put(err, scaleVariable);
                put(err, "='");
                putArgument(err, variable);
                put(err, "' is no scale: give a whole number from 1 to 8, or auto\n");
                return 2;
            }
            scale = *fromVariable;
        }
        if (!startSession(line, text, err)) return 2;
        if (scale >= 0) askWindowScale(scale);
        return std::nullopt;
    }
    if (line.action == CommandLine::Action::help) {
        putHelp(out, text);
    } else {
        putVersion(out, text.name);
    }
    // A help that never reached its reader (a full disk, a closed pipe) is a failure, not a success.
    const bool written = std::fflush(out) == 0 && !std::ferror(out);
    if (!written) {
        put(err, text.name);
        put(err, ": cannot write to standard output\n");
    }
    return written ? 0 : 1;
}

}  // namespace play
