// A program's command line: --help, --version, the window's scale (--scale, or TWISTY_SCALE in the environment),
// and the options of recordings (--record, --replay with --headless, --timedemo), and nothing else. Knows no program:
// each passes its own words, written once in its folder's about.h. help2man builds each manual page from what --help
// prints, so the layout of that text is also the page's (see dist/program_files.cmake), and the desktop entry and
// metadata take their summary and description from it too.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

namespace play {

// What a program says about itself. Each block text starts and ends on a line of its own (a raw string literal
// begun and ended on separate lines); the blank lines around it are not printed.
struct ProgramText {
    std::string_view name;         // the command, e.g. "cube3d"
    std::string_view summary;      // one sentence, the first line after the usage; the manual page's NAME line
    std::string_view description;  // what the program shows and does, wrapped at 78 columns
    std::string_view controls;     // "  TAG  what it does" lines: the same block as the README's Controls
    std::string_view files;        // "  FILE  what it holds" lines; empty when the program keeps no file
};

// What the arguments ask for, before anything is opened.
struct CommandLine {
    enum class Action { play, help, version, refuse };
    Action action = Action::play;
    std::string_view record;    // --record FILE
    std::string_view replay;    // --replay FILE or --timedemo FILE
    bool headless = false;      // --headless (only with --replay)
    bool timedemo = false;      // the replay is --timedemo's
    int16_t scale = -1;         // --scale N: 1 to 8, 0 for auto; -1 when not given
    std::string_view argument;  // refuse: the argument concerned
    const char* problem = "";   // refuse: what is wrong with it, e.g. "unknown argument"
};

// The environment variable that sets the window's scale when --scale is not given, with the same values.
inline constexpr const char* scaleVariable = "TWISTY_SCALE";

// A scale as --scale and TWISTY_SCALE take it: a whole number from 1 to 8 in decimal digits, or "auto" (0);
// nothing for anything else.
std::optional<int16_t> parseScale(std::string_view text);

// Reads the arguments main() was given, without printing or opening anything.
CommandLine parseCommandLine(int argc, const char* const* argv);

// Reads the arguments main() was given. With none, or with a recording's options, it prints nothing and returns
// nothing: the program starts (with --record, --replay or --timedemo its session has started first, see
// window.h's start_recording and start_replay) and the window's scale is set, from --scale or else from a
// non-empty TWISTY_SCALE (window.h's set_window_scale). "--help" prints the help on out, "--version" the name and
// version; both return 0, or 1 when out cannot be written. An unknown argument prints one line naming it and the usage
// on err; options that do not go together, a scale that is none, and a FILE that is refused, print one line on err;
// these return 2. Never
// opens a window, so a wrong argument cannot leave one behind.
std::optional<int> readCommandLine(int argc, const char* const* argv, const ProgramText& text, std::FILE* out = stdout,
                                   std::FILE* err = stderr);

}  // namespace play
