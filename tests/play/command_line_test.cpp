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

const std::string usage = "Usage: demo [--help | --version]\n";

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
  --help        Prints this help and exits.
  --version     Prints the program's name and version and exits.

Exit status:
  0             Escape ended the program, or the help or version was printed.
  1             The window could not be opened, or the help or version could
                not be written.
  2             An argument other than --help and --version.
)");
    play::ProgramText saving = demo;
    saving.files = "\n  SALVARE.TXT   The puzzle.\n";
    const Outcome s = run({"--version", "--help"}, saving);
    EXPECT_EQ(s.status, 0);
    EXPECT_NE(s.out.find("\n\nFiles:\n  SALVARE.TXT   The puzzle.\n\nExit status:\n"), std::string::npos) << s.out;
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
