#include "play/command_line.h"

#ifndef PUZZLES_VERSION
#error "PUZZLES_VERSION must be set by the build (the project's version)"
#endif

namespace play {

namespace {

constexpr std::string_view helpOption = "--help";
constexpr std::string_view versionOption = "--version";

// The same for every program, so written here once.
constexpr std::string_view options = R"(
  --help        Prints this help and exits.
  --version     Prints the program's name and version and exits.
)";
constexpr std::string_view exitStatus = R"(
  0             Escape ended the program, or the help or version was printed.
  1             The window could not be opened, or the help or version could
                not be written.
  2             An argument other than --help and --version.
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
    put(f, " [--help | --version]\n");
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
    putSection(f, "Options", options);
    if (!lines(text.files).empty()) putSection(f, "Files", text.files);
    putSection(f, "Exit status", exitStatus);
}

void putVersion(std::FILE* f, std::string_view name) {
    put(f, name);
    put(f, " " PUZZLES_VERSION "\n");
}

}  // namespace

std::optional<int> readCommandLine(int argc, const char* const* argv, const ProgramText& text, std::FILE* out,
                                   std::FILE* err) {
    if (argc <= 1) return std::nullopt;
    bool help = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == helpOption) {
            help = true;
        } else if (argument != versionOption) {
            put(err, text.name);
            put(err, ": unknown argument '");
            putArgument(err, argument);
            put(err, "'\n");
            putUsage(err, text.name);
            return 2;
        }
    }
    if (help) {
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
