#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cube3d/about.h"
#include "cubesolve/about.h"
#include "cuboid/about.h"
#include "pentagir/about.h"
#include "play/command_line.h"
#include "tetragir/about.h"

namespace {

constexpr play::ProgramText demo{
    .name = "demo",
    .summary = "Demo puzzle",
    .description = R"(
Opens a window.
)",
    .controls = R"(
  a             Scrambles.
)",
    .files = "",
};

struct Outcome {
    std::optional<int> status;
    std::string out, err;
};

std::string contents(std::FILE* f) {
    std::rewind(f);
    std::string s;
    for (int c; (c = std::fgetc(f)) != EOF;) s += static_cast<char>(c);
    std::fclose(f);
    return s;
}

Outcome run(std::vector<const char*> args, const play::ProgramText& text = demo) {
    args.insert(args.begin(), "demo");
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    Outcome r;
    r.status = play::readCommandLine(static_cast<int>(args.size()), args.data(), text, out, err);
    r.out = contents(out);
    r.err = contents(err);
    return r;
}

const std::string usage = "Usage: demo [OPTION]...\n";

TEST(CommandLine, AnswersEachArgumentAsThePlayerWasPromised) {
    struct Case {
        const char* name;
        std::vector<const char*> args;
        std::optional<int> status;
        std::string out, err;
    };
    const Case cases[] = {
        {"no argument starts the program", {}, std::nullopt, "", ""},
        {"version", {"--version"}, 0, "demo " PROJECT_VERSION "\n", ""},
        {"unknown option", {"--bogus"}, 2, "", "demo: unknown argument '--bogus'\n" + usage},
        {"short help is not an option", {"-h"}, 2, "", "demo: unknown argument '-h'\n" + usage},
        {"a file name", {"SALVARE.TXT"}, 2, "", "demo: unknown argument 'SALVARE.TXT'\n" + usage},
        {"unknown after help", {"--help", "x"}, 2, "", "demo: unknown argument 'x'\n" + usage},
        {"empty argument", {""}, 2, "", "demo: unknown argument ''\n" + usage},
        // One line whatever the argument holds, and no control bytes reach the terminal.
        {"newline", {"a\nb"}, 2, "", "demo: unknown argument 'a\\nb'\n" + usage},
        {"escape", {"\x1b[2J\t"}, 2, "", "demo: unknown argument '\\x1b[2J\\t'\n" + usage},
    };
    for (const Case& c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_EQ(r.out, c.out) << c.name;
        EXPECT_EQ(r.err, c.err) << c.name;
    }
}

// help2man reads this layout: the usage line gives SYNOPSIS, the line after it NAME, a heading followed by an
// indented line a section, "  TAG  text" lines tagged paragraphs.
TEST(CommandLine, HelpIsLaidOutForHelp2man) {
    const Outcome r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, usage + R"(Demo puzzle.

Opens a window.

Controls:
  a             Scrambles.

Options:
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

Exit status:
  0             Escape ended the program, the help or version was printed, or
                a replay ended in the recorded state.
  1             The window could not be opened, the help or version could not
                be written, or a replay ended in another state, ran short or
                was stopped.
  2             An argument other than these, options that do not go
                together, a scale other than 1 to 8 or auto, or a FILE that
                may not be replaced or is no readable recording of this
                program.

Environment:
  TWISTY_SCALE  The window's scale when --scale is not given, with the same
                values: set it once for every program, e.g. for the menu's
                launchers on a high-density screen.
)");
    play::ProgramText saving = demo;
    saving.files = "\n  SALVARE.TXT   The puzzle.\n";
    const Outcome s = run({"--version", "--help"}, saving);
    EXPECT_EQ(s.status, 0);
    EXPECT_NE(s.out.find("\n\nFiles:\n  SALVARE.TXT   The puzzle.\n\nEnvironment:\n"), std::string::npos) << s.out;
}

// Which options go together, read without opening anything: each case with the session it asks for, or the
// argument refused and why.
TEST(CommandLine, RecordingOptionsGoTogetherOnlyAsTheUsageSays) {
    using Action = play::CommandLine::Action;
    struct Case {
        const char* name;
        std::vector<const char*> args;
        Action action;
        std::string record, replay;
        bool headless, timedemo;
        std::string refused;  // the argument refused, for Action::refuse
    };
    const Case cases[] = {
        {"record", {"--record", "g.rec"}, Action::play, "g.rec", "", false, false, ""},
        {"replay in the window", {"--replay", "g.rec"}, Action::play, "", "g.rec", false, false, ""},
        {"headless replay", {"--replay", "g.rec", "--headless"}, Action::play, "", "g.rec", true, false, ""},
        {"headless first", {"--headless", "--replay", "g.rec"}, Action::play, "", "g.rec", true, false, ""},
        {"timedemo", {"--timedemo", "g.rec"}, Action::play, "", "g.rec", false, true, ""},
        {"a file named like an option", {"--record", "--help"}, Action::play, "--help", "", false, false, ""},
        {"help wins over a session", {"--replay", "g.rec", "--help"}, Action::help, "", "g.rec", false, false, ""},
        {"headless alone", {"--headless"}, Action::refuse, "", "", false, false, "--headless"},
        {"headless with record", {"--record", "g", "--headless"}, Action::refuse, "", "", false, false, "--headless"},
        {"headless with timedemo",
         {"--timedemo", "g", "--headless"},
         Action::refuse,
         "",
         "",
         false,
         false,
         "--headless"},
        {"record and replay", {"--record", "a", "--replay", "b"}, Action::refuse, "", "", false, false, "--replay"},
        {"replay twice", {"--replay", "a", "--replay", "b"}, Action::refuse, "", "", false, false, "--replay"},
        {"timedemo and record", {"--timedemo", "a", "--record", "b"}, Action::refuse, "", "", false, false, "--record"},
        {"record without a file", {"--record"}, Action::refuse, "", "", false, false, "--record"},
        {"replay with an empty file", {"--replay", ""}, Action::refuse, "", "", false, false, "--replay"},
        {"unknown after a session", {"--replay", "a", "-x"}, Action::refuse, "", "", false, false, "-x"},
    };
    for (const Case& c : cases) {
        std::vector<const char*> args = c.args;
        args.insert(args.begin(), "demo");
        const play::CommandLine line = play::parseCommandLine(static_cast<int>(args.size()), args.data());
        EXPECT_EQ(line.action, c.action) << c.name;
        if (c.action == Action::refuse) {
            EXPECT_EQ(line.argument, c.refused) << c.name;
            continue;
        }
        EXPECT_EQ(line.record, c.record) << c.name;
        EXPECT_EQ(line.replay, c.replay) << c.name;
        EXPECT_EQ(line.headless, c.headless) << c.name;
        EXPECT_EQ(line.timedemo, c.timedemo) << c.name;
    }
}

// A scale is a whole number from 1 to 8 or auto, from --scale or else TWISTY_SCALE; anything else is refused in one
// line before a window could open, and --scale wins over the variable.
TEST(CommandLine, ScalesAreTakenOrRefusedInOneLine) {
    struct Case {
        const char* name;
        std::vector<const char*> args;
        const char* variable;  // TWISTY_SCALE, or nullptr
        std::optional<int> status;
        std::string err;
    };
    const std::string noScale = "' is no scale for --scale: give a whole number from 1 to 8, or auto\n";
    const std::string badVariable = "' is no scale: give a whole number from 1 to 8, or auto\n";
    const Case cases[] = {
        {"one", {"--scale", "1"}, nullptr, std::nullopt, ""},
        {"eight", {"--scale", "8"}, nullptr, std::nullopt, ""},
        {"auto", {"--scale", "auto"}, nullptr, std::nullopt, ""},
        {"with a session",
         {"--timedemo", "no.rec", "--scale", "2"},
         nullptr,
         2,
         "demo: no.rec: cannot be opened: No such file or directory\n"},
        {"zero", {"--scale", "0"}, nullptr, 2, "demo: '0" + noScale},
        {"nine", {"--scale", "9"}, nullptr, 2, "demo: '9" + noScale},
        {"negative", {"--scale", "-2"}, nullptr, 2, "demo: '-2" + noScale},
        {"fraction", {"--scale", "1.5"}, nullptr, 2, "demo: '1.5" + noScale},
        {"sign", {"--scale", "+2"}, nullptr, 2, "demo: '+2" + noScale},
        {"spaces", {"--scale", " 2"}, nullptr, 2, "demo: ' 2" + noScale},
        {"capital auto", {"--scale", "AUTO"}, nullptr, 2, "demo: 'AUTO" + noScale},
        {"leading zeros", {"--scale", "0008"}, nullptr, std::nullopt, ""},
        {"zeros alone", {"--scale", "000"}, nullptr, 2, "demo: '000" + noScale},
        {"huge", {"--scale", "4294967298"}, nullptr, 2, "demo: '4294967298" + noScale},
        {"empty", {"--scale", ""}, nullptr, 2, "demo: '" + noScale},
        {"missing", {"--scale"}, nullptr, 2, "demo: --scale needs N from 1 to 8, or auto, after it\n"},
        {"twice", {"--scale", "2", "--scale", "3"}, nullptr, 2, "demo: --scale goes only once\n"},
        {"variable", {}, "3", std::nullopt, ""},
        {"variable auto", {}, "auto", std::nullopt, ""},
        {"empty variable is none", {}, "", std::nullopt, ""},
        {"bad variable", {}, "x2", 2, "demo: TWISTY_SCALE='x2" + badVariable},
        {"variable of nine", {}, "9", 2, "demo: TWISTY_SCALE='9" + badVariable},
        {"the option wins over a bad variable", {"--scale", "2"}, "x2", std::nullopt, ""},
        {"help needs no scale", {"--help"}, "x2", 0, ""},
    };
    for (const Case& c : cases) {
        if (c.variable) setenv("TWISTY_SCALE", c.variable, 1);
        else unsetenv("TWISTY_SCALE");
        const Outcome r = run(c.args);
        unsetenv("TWISTY_SCALE");
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_EQ(r.err, c.err) << c.name;
    }
    EXPECT_EQ(play::parseScale("7"), 7);
    EXPECT_EQ(play::parseScale("auto"), 0);
    EXPECT_EQ(play::parseScale("08"), 8);
}

// A refusal is one line naming the program and what is wrong, and nothing starts.
TEST(CommandLine, RefusedSessionsSayWhyInOneLine) {
    const std::string missing = testing::TempDir() + "no such folder/g.rec";
    struct Case {
        const char* name;
        std::vector<const char*> args;
        std::string err;
    };
    const Case cases[] = {
        {"headless alone", {"--headless"}, "demo: --headless goes only with --replay\n"},
        {"two sessions",
         {"--record", "a", "--timedemo", "b"},
         "demo: --timedemo goes with no other of --record, --replay and --timedemo\n"},
        {"no file", {"--timedemo"}, "demo: --timedemo needs a FILE after it\n"},
        {"a recording that is not there",
         {"--replay", missing.c_str()},
         "demo: " + missing + ": cannot be opened: No such file or directory\n"},
    };
    for (const Case& c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, 2) << c.name;
        EXPECT_EQ(r.out, "") << c.name;
        EXPECT_EQ(r.err, c.err) << c.name;
    }
}

TEST(CommandLine, AHelpThatCannotBeWrittenIsAFailure) {
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    std::FILE* err = std::tmpfile();
    const char* args[] = {"demo", "--help"};
    const std::optional<int> status = play::readCommandLine(2, args, demo, full, err);
    std::fclose(full);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(contents(err), "demo: cannot write to standard output\n");
}

// What help2man needs of each program's blocks, and a terminal of 80 columns: lines of at most 79 characters;
// a tagged line's text at column 16 and its continuation lines indented to the same column (any other indent
// starts a new paragraph in the manual page); an untagged paragraph indented by two.
std::vector<std::string> layoutFaults(std::string_view block) {
    std::vector<std::string> faults;
    constexpr size_t textColumn = 16;
    size_t start = 0;
    while (start < block.size()) {
        size_t end = block.find('\n', start);
        if (end == std::string_view::npos) end = block.size();
        const std::string line(block.substr(start, end - start));
        start = end + 1;
        if (line.empty()) continue;
        const size_t indent = line.find_first_not_of(' ');
        const size_t gap = line.find("  ", indent);
        const bool tagged = indent == 2 && gap != std::string::npos;
        const size_t textAt = tagged ? line.find_first_not_of(' ', gap) : indent;
        if (line.size() > 79) faults.push_back("longer than 79: " + line);
        if (indent != 2 && indent != textColumn) {
            faults.push_back("indented by " + std::to_string(indent) + ": " + line);
        }
        if (tagged && textAt != textColumn) faults.push_back("text not at column 16: " + line);
    }
    return faults;
}

TEST(ProgramTexts, EveryProgramsHelpFitsTheLayout) {
    const play::ProgramText* texts[] = {&cube3d::about,    &cuboid::abouts[0], &cuboid::abouts[1], &cuboid::abouts[2],
                                        &cubesolve::about, &pentagir::about,   &tetragir::about};
    for (const play::ProgramText* t : texts) {
        const std::string name(t->name);
        EXPECT_LE(t->summary.size() + 1, 79u) << name;
        EXPECT_NE(t->summary.back(), '.') << name << ": the help adds the full stop, the NAME line has none";
        for (const std::string_view block : {t->controls, t->files}) {
            for (const std::string& fault : layoutFaults(block)) ADD_FAILURE() << name << ": " << fault;
        }
        const Outcome r = run({"--help"}, *t);
        EXPECT_EQ(r.status, 0) << name;
        size_t start = 0;
        for (size_t end; (end = r.out.find('\n', start)) != std::string::npos; start = end + 1) {
            EXPECT_LE(end - start, 79u) << name << ": " << r.out.substr(start, end - start);
        }
    }
}

}  // namespace
