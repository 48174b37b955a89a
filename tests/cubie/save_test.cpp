// The save file: exact bytes, round trips, and every kind of bad file rejected with nothing changed.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cubie/test_support.h"

namespace cubie_test {
namespace {

namespace fs = std::filesystem;

// Each test works in its own empty folder.
class CubieSave : public testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("cubie_save_" + std::to_string(getpid()) + "_" +
                                              testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        path = (folder / "SALVARE.TXT").string();
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string read(const std::string& name) const {
        std::ifstream in(name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void write(const std::string& bytes) const { std::ofstream(path, std::ios::binary) << bytes; }

    fs::path folder;
    std::string path;
};

std::string lines(std::initializer_list<const char*> items) {
    std::string text;
    for (const char* item : items) text += std::string(item) + "\r\n";
    return text;
}

std::string repeated(const char* line, int32_t count) {
    std::string text;
    for (int32_t i = 0; i < count; ++i) text += std::string(line) + "\r\n";
    return text;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

// The file of a single cubie in a 2-grid of cuboid-a: its six faces in build order, written by hand from the face
// table (corners in polygon order, then the outer colour), then 1290 lines of zeros.
std::string singleCubieFile() {
    return lines({"2", "1", "1", "1", "1295", "4 6 7 5 15", "0 1 3 2 14", "0 2 6 4 2", "1 5 7 3 9", "0 4 5 1 12",
                  "2 3 7 6 13"}) +
           repeated("0 0 0 0 0", 1290);
}

// Every entry under a folder by its path there: a link by where it points, a file by its mode and bytes (the
// single cubie's file by that name).
std::map<std::string, std::string> entriesUnder(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(folder)) {
        const std::string name = e.path().lexically_relative(folder).string();
        struct stat info;
        lstat(e.path().c_str(), &info);
        if (S_ISLNK(info.st_mode)) entries[name] = "link to " + fs::read_symlink(e.path()).string();
        else if (S_ISREG(info.st_mode)) {
            std::ifstream in(e.path(), std::ios::binary);
            std::stringstream bytes;
            bytes << in.rdbuf();
            char mode[16];
            std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
            entries[name] = std::string("file ") + mode + " " +
                            (bytes.str() == singleCubieFile() ? "the single cubie's file" : bytes.str());
        } else entries[name] = S_ISDIR(info.st_mode) ? "folder" : "other";
    }
    return entries;
}

TEST_F(CubieSave, ExactBytesOfASingleCubieQuadFile) {
    auto m = built<cuboidAConfig>(2, 1, 1, 1);
    ASSERT_TRUE(saveState(*m, path.c_str()));
    EXPECT_EQ(read(path), singleCubieFile());
    EXPECT_EQ(entriesUnder(folder).size(), 1u) << "a temporary file is left behind";
}

TEST_F(CubieSave, ExactBytesOfASingleCubieTriangleFile) {
    auto m = built<cuboidCConfig>(2, 1, 1, 1);
    ASSERT_TRUE(saveState(*m, path.c_str()));
    const std::string expected =
        lines({"2", "1", "1", "1", "2591", "0 1 2 2", "3 2 1 2", "0 6 4 14", "0 2 6 14", "6 5 4 9", "6 7 5 9",
               "1 5 3 15", "3 5 7 15", "4 1 0 13", "1 4 5 13", "7 2 3 12", "6 2 7 12"}) +
        repeated("0 0 0 0", 2580);
    EXPECT_EQ(read(path), expected);
}

TEST_F(CubieSave, LineCountsAndStartOfEachVariant) {
    struct Case {
        const char* name;
        std::string file;
        size_t lines;
        std::string start;
    };
    auto a = built<cuboidAConfig>(6, 6, 6, 6);
    auto c = built<cuboidCConfig>(4, 4, 4, 4);
    auto d = built<largeGridConfig>(10, 10, 10, 10);
    ASSERT_TRUE(saveState(*a, (path + ".a").c_str()));
    ASSERT_TRUE(saveState(*c, (path + ".c").c_str()));
    ASSERT_TRUE(saveState(*d, (path + ".d").c_str()));
    const Case cases[] = {
        {"cuboid-a 6-cube", read(path + ".a"), 1301, lines({"6", "6", "6", "6", "1295", "4 6 7 5 8"})},
        {"cuboid-c 4-cube", read(path + ".c"), 2597, lines({"4", "4", "4", "4", "2591", "0 1 2 2"})},
        {"large 10-cube", read(path + ".d"), 6005, lines({"10", "10", "10", "10", "5999", "4 6 7 5 8"})},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        size_t count = 0, crlf = 0;
        for (size_t at = 0; at < k.file.size(); ++at)
            if (k.file[at] == '\n') {
                ++count;
                crlf += at > 0 && k.file[at - 1] == '\r';
            }
        EXPECT_EQ(count, k.lines);
        EXPECT_EQ(crlf, k.lines) << "every line ends in CR LF";
        EXPECT_EQ(k.file.substr(0, k.start.size()), k.start);
        EXPECT_EQ(k.file.find("  "), std::string::npos) << "double space";
        EXPECT_EQ(k.file.find(" \r"), std::string::npos) << "space at the end of a line";
        EXPECT_EQ(k.file.find("\r\n\r\n"), std::string::npos) << "empty line";
    }
}

template <CubieConfig C>
void expectSamePuzzle(const Model<C>& a, const Model<C>& b) {
    EXPECT_EQ(a.gridSize, b.gridSize);
    for (int32_t axis = 0; axis < 3; ++axis) EXPECT_EQ(a.dims[axis], b.dims[axis]);
    EXPECT_EQ(std::memcmp(a.facets, b.facets, sizeof a.facets), 0);
    // A load files the points exactly at home; turned points carry the rounding of their rotations.
    for (int32_t v = 0; v < Model<C>::vertexCount; ++v)
        for (int32_t axis = 0; axis < 3; ++axis)
            ASSERT_NEAR(a.worldVertex[v][axis], b.worldVertex[v][axis], 1e-9) << "vertex " << v;
}

template <CubieConfig C>
void roundTrip(const std::string& path, int32_t n, int32_t dx, int32_t dy, int32_t dz) {
    auto m = built<C>(n, dx, dy, dz);
    m->scrambleLeft = 10;
    while (m->scrambleLeft > 0 || m->turning) {
        startRandomTurn(*m);
        updateTurnTarget(*m);
        stepTurn(*m);
    }
    auto saved = std::make_unique<Model<C>>(*m);
    ASSERT_TRUE(saveState(*m, path.c_str()));
    m->gridSize = 2, m->dims[0] = m->dims[1] = m->dims[2] = 2;  // something else entirely
    ASSERT_TRUE(buildPuzzle(*m));
    m->loadRequested = true;
    ASSERT_TRUE(buildPuzzle(*m, path.c_str()));
    EXPECT_FALSE(m->loadRequested);
    expectSamePuzzle(*m, *saved);
}

TEST_F(CubieSave, RoundTripOfEveryVariantAfterAScramble) {
    roundTrip<cuboidAConfig>(path, 6, 6, 6, 6);
    roundTrip<cuboidBConfig>(path, 6, 6, 6, 3);
    roundTrip<cuboidCConfig>(path, 5, 5, 2, 4);
    roundTrip<largeGridConfig>(path, 7, 6, 7, 5);
}

// A 6 x 6 x 3 cuboid saved after turns reloads as the same puzzle, and the same further turns then give the same
// result as they would have without the save.
TEST_F(CubieSave, CuboidAfterTurnsBehavesTheSameAfterALoad) {
    auto m = built<cuboidAConfig>(6, 6, 6, 3);
    turnAndFinish(*m, 0, 1, 1);
    turnAndFinish(*m, 2, 2, -1);
    turnAndFinish(*m, 1, 5, 1);
    ASSERT_TRUE(saveState(*m, path.c_str()));
    auto loaded = built<cuboidAConfig>(3, 3, 3, 3);
    loaded->loadRequested = true;
    ASSERT_TRUE(buildPuzzle(*loaded, path.c_str()));
    expectSamePuzzle(*loaded, *m);
    const int32_t further[][3] = {{2, 0, 1}, {0, 5, -1}, {1, 2, 1}, {2, 1, -1}};
    for (const auto& t : further) {
        turnAndFinish(*m, t[0], t[1], t[2]);
        turnAndFinish(*loaded, t[0], t[1], t[2]);
    }
    expectSamePuzzle(*loaded, *m);
}

TEST_F(CubieSave, CuboidAFileLoadsInCuboidB) {
    auto a = built<cuboidAConfig>(5, 5, 4, 5);
    turnAndFinish(*a, 1, 3, -1);
    turnAndFinish(*a, 0, 0, 1);
    ASSERT_TRUE(saveState(*a, path.c_str()));
    auto b = built<cuboidBConfig>(6, 6, 6, 6);
    b->loadRequested = true;
    ASSERT_TRUE(buildPuzzle(*b, path.c_str()));
    EXPECT_EQ(b->gridSize, 5);
    EXPECT_EQ(b->dims[1], 4);
    EXPECT_EQ(std::memcmp(a->facets, b->facets, sizeof a->facets), 0);
}

TEST_F(CubieSave, SavingTwiceGivesTheSameFileAndLoadingLeavesItAlone) {
    auto m = built<cuboidCConfig>(6, 6, 6, 6);
    turnAndFinish(*m, 2, 4, 1);
    ASSERT_TRUE(saveState(*m, path.c_str()));
    const std::string first = read(path);
    m->loadRequested = true;
    ASSERT_TRUE(buildPuzzle(*m, path.c_str()));
    EXPECT_EQ(read(path), first);
    ASSERT_TRUE(saveState(*m, path.c_str()));
    EXPECT_EQ(read(path), first);
}

// A save during a turn stores the state before that turn.
TEST_F(CubieSave, ASaveDuringATurnStoresTheStateBeforeIt) {
    auto m = built<cuboidAConfig>(3, 3, 3, 3);
    auto before = std::make_unique<Model<cuboidAConfig>>(*m);
    startTurn(*m, 0, 0, 1);
    for (int32_t frame = 0; frame < 7; ++frame) stepTurn(*m);
    ASSERT_TRUE(saveState(*m, path.c_str()));
    ASSERT_TRUE(m->turning);
    before->loadRequested = false;
    ASSERT_TRUE(saveState(*before, (path + ".before").c_str()));
    EXPECT_EQ(read(path), read(path + ".before"));
}

// A save that fails half-way (here the file size limit stops the writing, as a full disk would) keeps the previous
// file and leaves no temporary file behind.
TEST_F(CubieSave, AFailedSaveKeepsThePreviousFile) {
    auto m = built<cuboidAConfig>(4, 4, 4, 4);
    ASSERT_TRUE(saveState(*m, path.c_str()));
    const std::string previous = read(path);
    turnAndFinish(*m, 0, 1, 1);
    rlimit limit;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{4096, limit.rlim_max};
    void (*const oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);  // else the write past the limit kills the test
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = static_cast<bool>(saveState(*m, path.c_str()));
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    EXPECT_EQ(read(path), previous);
    EXPECT_EQ(entriesUnder(folder).size(), 1u) << "the temporary file is left behind";
    EXPECT_FALSE(saveState(*m, (folder / "no such folder" / "SALVARE.TXT").string().c_str()));
}

// What a save may do to the files around it. It never writes through whatever stands at a temporary name; it
// replaces only a regular file that may be written (a file without a write bit for anyone counts as protected,
// also for root), keeping its mode; a save file that is a link stays one and its target receives the save. A
// refused save changes no file. Each case lays out the folder and checks every entry of it afterwards: only the
// receiving file may have changed, to the saved bytes.
TEST_F(CubieSave, WhatASaveReplaces) {
    const mode_t mask = umask(0);
    umask(mask);
    const auto file = [&](const std::string& name, mode_t mode, const char* bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        chmod((folder / name).c_str(), mode);
    };
    const auto link = [&](const char* to, const std::string& name) { fs::create_symlink(to, folder / name); };
    const auto pipe = [&](const std::string& name) { mkfifo((folder / name).c_str(), 0644); };
    const auto elsewhere = [&] { fs::create_directory(folder / "elsewhere"); };
    struct Case {
        const char* name;
        std::function<void()> layOut;
        bool saves;
        const char* receiver;  // the file that receives the save, or that a refused save must leave alone
        mode_t mode;           // the receiver's mode afterwards
    } const cases[] = {
        {"a link at the temporary name",
         [&] {
             file("SALVARE.TXT", 0644, "previous");
             file("victim", 0644, "victim");
             link("victim", "SALVARE.TXT.tmp");
         },
         true, "SALVARE.TXT", 0644},
        {"a pipe at the temporary name",
         [&] {
             file("SALVARE.TXT", 0644, "previous");
             pipe("SALVARE.TXT.tmp");
         },
         true, "SALVARE.TXT", 0644},
        {"a folder at the temporary name",
         [&] {
             file("SALVARE.TXT", 0644, "previous");
             fs::create_directory(folder / "SALVARE.TXT.tmp");
         },
         true, "SALVARE.TXT", 0644},
        {"a save file only its owner may write keeps its mode", [&] { file("SALVARE.TXT", 0640, "previous"); }, true,
         "SALVARE.TXT", 0640},
        {"a read-only save file", [&] { file("SALVARE.TXT", 0444, "previous"); }, false, "SALVARE.TXT", 0444},
        {"a save file nobody may touch", [&] { file("SALVARE.TXT", 0, "previous"); }, false, "SALVARE.TXT", 0},
        {"a save file that is a link to a file elsewhere",
         [&] {
             elsewhere();
             file("elsewhere/real", 0604, "previous");
             link("elsewhere/real", "SALVARE.TXT");
         },
         true, "elsewhere/real", 0604},
        {"a link to a link in another folder, relative to that folder",
         [&] {
             elsewhere();
             file("elsewhere/real", 0640, "previous");
             link("real", "elsewhere/hop");
             link("elsewhere/hop", "SALVARE.TXT");
         },
         true, "elsewhere/real", 0640},
        {"a link to a file that does not exist yet",
         [&] {
             elsewhere();
             link("elsewhere/new", "SALVARE.TXT");
         },
         true, "elsewhere/new", 0666 & ~mask},
        {"a link to a read-only file",
         [&] {
             elsewhere();
             file("elsewhere/real", 0444, "previous");
             link("elsewhere/real", "SALVARE.TXT");
         },
         false, "elsewhere/real", 0444},
        {"a link to a pipe",
         [&] {
             pipe("pipe");
             link("pipe", "SALVARE.TXT");
         },
         false, "pipe", 0},
        {"a pipe in place of the save file", [&] { pipe("SALVARE.TXT"); }, false, "SALVARE.TXT", 0},
    };
    const auto fileText = [](mode_t mode, const char* bytes) {
        char text[16];
        std::snprintf(text, sizeof text, "file %04o ", static_cast<unsigned>(mode));
        return text + std::string(bytes);
    };
    auto m = built<cuboidAConfig>(2, 1, 1, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder);
        fs::create_directories(folder);
        c.layOut();
        std::map<std::string, std::string> expected = entriesUnder(folder);
        if (c.saves) {
            expected[c.receiver] = fileText(c.mode, "the single cubie's file");
        } else if (expected[c.receiver].rfind("file", 0) == 0) {
            EXPECT_EQ(expected[c.receiver].substr(0, 10), fileText(c.mode, "")) << "laid out as meant";
        }
        EXPECT_EQ(static_cast<bool>(saveState(*m, path.c_str())), c.saves);
        EXPECT_EQ(entriesUnder(folder), expected);
    }
}

// Files that must be accepted although they are not byte for byte what saveState writes: a number may stand after
// any bytes up to 32, the rest of a line after each header value and each record is discarded, and whatever
// follows the last record is ignored.
TEST_F(CubieSave, TolerantReading) {
    const std::string cubie = "4 6 7 5 15\r\n0 1 3 2 14\r\n0 2 6 4 2\r\n1 5 7 3 9\r\n0 4 5 1 12\r\n2 3 7 6 13\r\n";
    const std::string header = "2\r\n1\r\n1\r\n1\r\n5\r\n";
    struct Case {
        const char* name;
        std::string file;
    } const cases[] = {
        {"fewer records than the array holds", header + cubie},
        {"LF line ends, tabs, blank lines",
         "2\n1\n1\n\n1\n5\n4\t6 7 5   15\n0 1 3 2 14\n0 2 6 4 2\n"
         "1 5 7 3 9\n0 4 5 1 12\n2 3 7 6 13"},
        {"blank lines after the last record", header + cubie + "\r\n\r\n  \r\n"},
        {"an unused record with stray indices", "2\r\n1\r\n1\r\n1\r\n6\r\n" + cubie + "3 3 3 3 0\r\n"},
        {"a sixth number on a record line", header + replaced(cubie, "0 2 6 4 2", "0 2 6 4 2 7")},
        {"text after the last number of a line", header + replaced(cubie, "1 5 7 3 9", "1 5 7 3 9 light blue")},
        {"text after a header value", replaced(header, "2\r\n", "2 cubies a side\r\n") + cubie},
        {"a record split over two lines", header + replaced(cubie, "0 4 5 1 12", "0 4\r\n5 1\r\n\r\n12")},
        {"a header value on the next line", replaced(header, "\r\n5\r\n", "\r\n\r\n 5\r\n") + cubie},
        {"text after the last record", header + cubie + "4 6 7 5 15\r\nnot a record\r\n"},
        {"no line end after the last record", header + cubie.substr(0, cubie.size() - 2)},
        {"a long tail after the last record", header + cubie + std::string(maxSaveBytes<cuboidAConfig>, 'x')},
    };
    auto expected = built<cuboidAConfig>(2, 1, 1, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(c.file);
        auto m = built<cuboidAConfig>(6, 6, 6, 6);
        m->loadRequested = true;
        ASSERT_TRUE(buildPuzzle(*m, path.c_str()));
        expectSamePuzzle(*m, *expected);
    }
}

// A record of colour 0 that names the corners of a face of a cubie is drawn in whatever colour came before it, so
// it keeps its corners when loaded and follows its cubie through turns like any other record. (One whose indices
// name no face of a cubie is unused, and loads as zeros: see TolerantReading.)
TEST_F(CubieSave, AColourlessRecordKeepsItsCornersAndTurnsWithItsCubie) {
    // Record 0 of a 3-cube is the +z face of cubie (0, 0, 0); record 5 its +y face. Both lie in the layer k = 0.
    write(lines(
        {"3", "3", "3", "3", "5", "4 6 7 5 0", "0 1 3 2 14", "0 2 6 4 2", "1 5 7 3 8", "0 4 5 1 12", "2 3 7 6 0"}));
    auto m = built<cuboidAConfig>(3, 3, 3, 3);
    m->loadRequested = true;
    ASSERT_TRUE(buildPuzzle(*m, path.c_str()));
    const int32_t kept[2][4] = {{4, 6, 7, 5}, {2, 3, 7, 6}};
    for (int32_t r : {0, 1}) {
        const auto& f = m->facets[r == 0 ? 0 : 5];
        EXPECT_EQ(f.colour, 0);
        for (int32_t c = 0; c < 4; ++c) EXPECT_EQ(f.vertex[c], kept[r][c]) << "record " << (r == 0 ? 0 : 5);
    }
    // A quarter turn of the layer k = 0 takes cubie (0, 0, 0) to another slot: the colourless records must name
    // the same corners as a coloured copy of them does after the same turn.
    auto coloured = std::make_unique<Model<cuboidAConfig>>(*m);
    coloured->facets[0].colour = coloured->facets[5].colour = 7;
    turnAndFinish(*m, 2, 0, 1);
    turnAndFinish(*coloured, 2, 0, 1);
    for (int32_t r : {0, 5}) {
        SCOPED_TRACE("record " + std::to_string(r));
        EXPECT_NE(coloured->facets[r].vertex[0] / 8, 0) << "the cubie left its slot";
        for (int32_t c = 0; c < 4; ++c) EXPECT_EQ(m->facets[r].vertex[c], coloured->facets[r].vertex[c]);
    }
}

// Only the start of a file is read. A file whose last record reaches beyond it is refused, also when the bytes
// read would end in a number that looks complete; the same file with its records within that start loads.
TEST_F(CubieSave, RecordsBeyondTheReadStartAreNotGuessed) {
    const std::string records = "4 6 7 5 15\r\n0 1 3 2 14\r\n0 2 6 4 2\r\n1 5 7 3 9\r\n0 4 5 1 12\r\n2 3 7 6 1";
    const std::string head = "2\r\n1\r\n1\r\n1\r\n5\r\n";
    const size_t limit = maxSaveBytes<cuboidAConfig>;
    // Blank padding puts the final colour's first digit 1 on the last byte read and its 3 just beyond.
    const std::string straddling = head + std::string(limit - head.size() - records.size(), ' ') + records + "3\r\n";
    ASSERT_EQ(straddling[limit - 1], '1');
    ASSERT_EQ(straddling[limit], '3');
    auto m = built<cuboidAConfig>(3, 3, 3, 3);
    auto before = snapshot(*m);
    write(straddling);
    m->loadRequested = true;
    EXPECT_FALSE(buildPuzzle(*m, path.c_str()));
    EXPECT_TRUE(sameBytes(*m, *before));
    write(head + std::string(limit - head.size() - records.size() - 3, ' ') + records + "3\r\n");
    m->loadRequested = true;
    ASSERT_TRUE(buildPuzzle(*m, path.c_str()));
    expectSamePuzzle(*m, *built<cuboidAConfig>(2, 1, 1, 1));
}

// A valid 2 x 1 x 1 file of cuboid-a, to spoil one thing at a time.
std::string validFile() {
    return lines({"2", "2", "1", "1", "11", "4 6 7 5 15", "0 1 3 2 14", "0 2 6 4 2", "1 5 7 3 8", "0 4 5 1 12",
                  "2 3 7 6 13", "36 38 39 37 15", "32 33 35 34 14", "32 34 38 36 8", "33 37 39 35 9", "32 36 37 33 12",
                  "34 35 39 38 13"});
}

TEST_F(CubieSave, EveryBadFileIsRejectedWithNothingChanged) {
    const std::string good = validFile();
    struct Case {
        const char* name;
        std::string file;
    } const cases[] = {
        {"empty file", ""},
        {"grid size 0", replaced(good, "2\r\n2\r\n", "0\r\n2\r\n")},
        {"grid size 1", replaced(good, "2\r\n2\r\n", "1\r\n1\r\n")},
        {"grid size 7", replaced(good, "2\r\n2\r\n", "7\r\n2\r\n")},
        {"dimension 0", replaced(good, "2\r\n2\r\n1\r\n", "2\r\n0\r\n1\r\n")},
        {"dimension above N", replaced(good, "2\r\n2\r\n1\r\n", "2\r\n3\r\n1\r\n")},
        {"negative dimension", replaced(good, "2\r\n2\r\n1\r\n", "2\r\n-2\r\n1\r\n")},
        {"plus sign", replaced(good, "2\r\n2\r\n1\r\n", "2\r\n+2\r\n1\r\n")},
        {"overflowing number", replaced(good, "2\r\n2\r\n", "2\r\n99999999999999999999999\r\n")},
        {"number wrapping to a small value", replaced(good, "\r\n11\r\n", "\r\n4294967307\r\n")},
        {"last record index 1296", replaced(good, "\r\n11\r\n", "\r\n1296\r\n")},
        {"last record index negative", replaced(good, "\r\n11\r\n", "\r\n-1\r\n")},
        {"file ends before the last record index", good.substr(0, 12)},
        {"truncated in the records", good.substr(0, good.size() - 30)},
        {"truncated in a record line", good.substr(0, good.size() - 8)},
        {"header only", good.substr(0, 15)},
        {"text instead of a number", replaced(good, "0 1 3 2 14", "0 1 three 2 14")},
        {"garbage",
         "\x7f"
         "ELF\x02\x01\x01\x00 garbage \xff\xfe"},
        {"missing colour: the next line's number taken, one record short", replaced(good, "4 6 7 5 15", "4 6 7 5")},
        {"one record fewer than M + 1", replaced(good, "\r\n11\r\n", "\r\n12\r\n")},
        {"text where a record's number belongs", replaced(good, "0 2 6 4 2", "0 2 six 4 2")},
        {"colour 256", replaced(good, "4 6 7 5 15", "4 6 7 5 256")},
        {"vertex index 1728", replaced(good, "4 6 7 5 15", "1728 6 7 5 15")},
        {"vertex index negative", replaced(good, "4 6 7 5 15", "-4 6 7 5 15")},
        {"corners of two cubies", replaced(good, "4 6 7 5 15", "4 6 7 37 15")},
        {"repeated corner", replaced(good, "4 6 7 5 15", "4 6 6 5 15")},
        {"corners on no single face", replaced(good, "4 6 7 5 15", "0 6 7 5 15")},
        {"cubie outside the grid", replaced(good, "36 38 39 37 15", "68 70 71 69 15")},
        {"cubie outside the cuboid", replaced(good, "36 38 39 37 15", "12 14 15 13 15")},
    };
    // A scrambled 6 x 6 x 3 cuboid in the middle of a turn, with a scramble pending.
    auto m = built<cuboidAConfig>(6, 6, 6, 3);
    turnAndFinish(*m, 0, 2, -1);
    m->scrambleLeft = 7;
    startRandomTurn(*m);
    for (int32_t frame = 0; frame < 5; ++frame) stepTurn(*m);
    ASSERT_TRUE(m->turning);
    m->loadRequested = false;
    auto before = snapshot(*m);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(c.file);
        m->loadRequested = true;
        EXPECT_FALSE(buildPuzzle(*m, path.c_str()));
        EXPECT_TRUE(sameBytes(*m, *before));
        EXPECT_FALSE(loadState(*m, path.c_str()));
        EXPECT_TRUE(sameBytes(*m, *before));
    }
    fs::remove(path);
    m->loadRequested = true;
    EXPECT_FALSE(buildPuzzle(*m, path.c_str())) << "missing file";
    EXPECT_TRUE(sameBytes(*m, *before));
    fs::create_directory(path);
    m->loadRequested = true;
    EXPECT_FALSE(buildPuzzle(*m, path.c_str())) << "a folder in place of the file";
    EXPECT_TRUE(sameBytes(*m, *before));
    // The unspoilt file itself loads, so the rejections above are the spoilt parts' doing.
    fs::remove(path);
    write(good);
    m->loadRequested = true;
    EXPECT_TRUE(buildPuzzle(*m, path.c_str()));
    EXPECT_EQ(m->dims[0], 2);
}

TEST_F(CubieSave, AnUnreadableFileIsRejected) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads any file";
    auto m = built<cuboidAConfig>(3, 3, 3, 3);
    ASSERT_TRUE(saveState(*m, path.c_str()));
    chmod(path.c_str(), 0);
    auto before = snapshot(*m);
    m->loadRequested = true;
    EXPECT_FALSE(buildPuzzle(*m, path.c_str()));
    EXPECT_TRUE(sameBytes(*m, *before));
}

// A pipe under the file's name has no end until something writes to it: opening it to read (or to write, for a
// save) must not wait for that. If a call does wait, the test opens the other end itself so that the call can
// return, and fails.
TEST_F(CubieSave, APipeInPlaceOfTheFilesIsRefusedWithoutWaiting) {
    using namespace std::chrono_literals;
    auto m = built<cuboidAConfig>(3, 3, 3, 3);
    auto before = snapshot(*m);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    m->loadRequested = true;
    auto load = std::async(std::launch::async, [&] { return buildPuzzle(*m, path.c_str()); });
    if (load.wait_for(2s) != std::future_status::ready) {
        ADD_FAILURE() << "loading waited on the pipe";
        close(open(path.c_str(), O_WRONLY | O_NONBLOCK));
    }
    EXPECT_FALSE(load.get());
    EXPECT_TRUE(sameBytes(*m, *before));

    // A save replaces only a regular file: the pipe is neither written nor replaced.
    turnAndFinish(*m, 1, 1, 1);
    auto save = std::async(std::launch::async, [&] { return saveState(*m, path.c_str()); });
    if (save.wait_for(2s) != std::future_status::ready) {
        ADD_FAILURE() << "saving waited on the pipe";
        const int drain = open(path.c_str(), O_RDONLY | O_NONBLOCK);
        char sink[4096];
        while (save.wait_for(10ms) != std::future_status::ready)
            while (::read(drain, sink, sizeof sink) > 0) {
            }
        close(drain);
    }
    EXPECT_FALSE(save.get());
    EXPECT_EQ(fs::status(path).type(), fs::file_type::fifo);
}

TEST_F(CubieSave, CuboidCFileIsNotTakenByCuboidA) {
    auto c = built<cuboidCConfig>(3, 3, 3, 3);
    ASSERT_TRUE(saveState(*c, path.c_str()));
    auto a = built<cuboidAConfig>(4, 4, 4, 4);
    auto before = snapshot(*a);
    a->loadRequested = true;
    EXPECT_FALSE(buildPuzzle(*a, path.c_str()));
    EXPECT_TRUE(sameBytes(*a, *before));
}

// ---- A file system that fails ----------------------------------------------------------------------------------

// The file layer's calls as the tests below give them. Every call is counted and labelled by what it is made on;
// the call numbered failAt meets the fault, every other one goes to the system, except that a sync only answers
// success (making the test's files durable would cost time and prove nothing: the power cut is modelled from the
// journal). Each call that changed the folder or a file's bytes, or synced them, is written to the journal.
enum class Fault { eio, enospc, eintr, shortTransfer };
constexpr const char* faultNames[] = {"EIO", "ENOSPC", "EINTR", "short"};
constexpr int faultErrors[] = {EIO, ENOSPC, EINTR, 0};

struct JournalEntry {
    std::string call, name, to;  // to: the new name of a rename
    int fd;
    int flags;
    std::string bytes;
};

struct Seam {
    int32_t failAt = 0;  // 0: no call fails
    Fault fault = Fault::eio;
    int32_t calls = 0;
    bool shorten = false;
    std::string failedCall;               // the label of the call that met the fault, if one did
    std::map<std::string, int32_t> seen;  // labels so far, to tell a call's second time from its first
    std::map<int, std::string> opened;    // the name each open descriptor was opened on
    std::vector<JournalEntry> journal;
} seam;

std::string baseName(const char* path) { return fs::path(path).filename().string(); }

// The name a call is made on, as the table of outcomes shows it.
std::string labelName(const std::string& name) {
    if (name == "." || name.empty()) return "the folder";
    if (name.size() > 15 && name.rfind("SALVARE.TXT.tmp", 0) == 0) return "SALVARE.TXT.tmp1..99";
    return name;
}

// Counts a call; true when it is the one to fail, with errno set. A short transfer is made by read and write
// themselves; other calls cannot meet one, and then no fault is injected.
bool failsHere(const char* call, const std::string& name) {
    std::string label = std::string(call) + " " + labelName(name);
    // A call made again on the same name is a row of its own (the writes and reads of one file, and the looks at
    // the hundred names, are one row each).
    const bool repeats = std::string(call) != "read" && std::string(call) != "write" && label.back() != '9';
    if (seam.seen[label]++ > 0 && repeats) label += " again";
    if (++seam.calls != seam.failAt) return false;
    const bool transfer = std::string(call) == "read" || std::string(call) == "write";
    if (seam.fault == Fault::shortTransfer && !transfer) return false;
    seam.failedCall = label;
    seam.shorten = seam.fault == Fault::shortTransfer;
    errno = faultErrors[static_cast<int>(seam.fault)];
    return !seam.shorten;
}

size_t shortened(size_t size) {
    if (!seam.shorten) return size;
    seam.shorten = false;
    return std::max<size_t>(1, size / 2);
}

void journal(const char* call, const std::string& name, int fd = -1, int flags = 0, std::string bytes = {},
             std::string to = {}) {
    seam.journal.push_back({call, name, std::move(to), fd, flags, std::move(bytes)});
}

const FileCalls seamCalls = {
    .open =
        [](const char* path, int flags, mode_t mode) {
            if (failsHere("open", baseName(path))) return -1;
            const int fd = systemFileCalls.open(path, flags, mode);
            if (fd >= 0) seam.opened[fd] = baseName(path), journal("open", baseName(path), fd, flags);
            return fd;
        },
    .close =
        [](int fd) {
            const bool fails = failsHere("close", seam.opened[fd]);
            const int error = errno;
            systemFileCalls.close(fd);  // released whatever close says, as the system does
            errno = error;
            return fails ? -1 : 0;
        },
    .read = [](int fd, void* bytes, size_t size) -> ssize_t {
        return failsHere("read", seam.opened[fd]) ? -1 : systemFileCalls.read(fd, bytes, shortened(size));
    },
    .write = [](int fd, const void* bytes, size_t size) -> ssize_t {
        if (failsHere("write", seam.opened[fd])) return -1;
        const ssize_t put = systemFileCalls.write(fd, bytes, shortened(size));
        if (put > 0)
            journal("write", "", fd, 0, std::string(static_cast<const char*>(bytes), static_cast<size_t>(put)));
        return put;
    },
    .fsync =
        [](int fd) {
            if (failsHere("fsync", seam.opened[fd])) return -1;
            journal("fsync", "", fd);
            return 0;
        },
    .fstat =
        [](int fd, struct stat* info) {
            return failsHere("fstat", seam.opened[fd]) ? -1 : systemFileCalls.fstat(fd, info);
        },
    .lstat =
        [](const char* path, struct stat* info) {
            return failsHere("lstat", baseName(path)) ? -1 : systemFileCalls.lstat(path, info);
        },
    .readlink = [](const char* path, char* out, size_t size) -> ssize_t {
        return failsHere("readlink", baseName(path)) ? -1 : systemFileCalls.readlink(path, out, size);
    },
    .mayWrite =
        [](const char* path) { return failsHere("access", baseName(path)) ? -1 : systemFileCalls.mayWrite(path); },
    .fchmod = [](int fd,
                 mode_t mode) { return failsHere("fchmod", seam.opened[fd]) ? -1 : systemFileCalls.fchmod(fd, mode); },
    .flock =
        [](int fd, int operation) {
            return failsHere("flock", seam.opened[fd]) ? -1 : systemFileCalls.flock(fd, operation);
        },
    .rename =
        [](const char* from, const char* to) {
            if (failsHere("rename", baseName(from))) return -1;
            const int done = systemFileCalls.rename(from, to);
            if (done == 0) journal("rename", baseName(from), -1, 0, {}, baseName(to));
            return done;
        },
    .unlink =
        [](const char* path) {
            if (failsHere("unlink", baseName(path))) return -1;
            const int done = systemFileCalls.unlink(path);
            if (done == 0) journal("unlink", baseName(path));
            return done;
        },
};

// The tests work in their folder through the names the programs use, so that the folder is the working one.
class CubieSaveFailures : public CubieSave {
protected:
    void SetUp() override {
        CubieSave::SetUp();
        home = fs::current_path();
        fs::current_path(folder);
        seam = {};
        fileCalls = seamCalls;
    }
    void TearDown() override {
        fileCalls = systemFileCalls;
        fs::current_path(home);
        CubieSave::TearDown();
    }
    void emptyFolder() const {
        for (const fs::directory_entry& e : fs::directory_iterator(folder)) fs::remove_all(e.path());
    }
    fs::path home;
};

// A key as the programs act on it, and the line it made them print.
template <CubieConfig C>
std::string pressKey(Model<C>& m, KeyAction key) {
    testing::internal::CaptureStderr();
    if (applyKeyAction(m, key, "cuboid-a") && !buildPuzzle(m)) reportRefusedLoad(m, "cuboid-a");
    return testing::internal::GetCapturedStderr();
}

// Runs the key once for each call it makes and each fault, that call failing. check judges one run and names
// its outcome; the outcomes are gathered by the failed call's label and fault, and printed as a table.
template <CubieConfig C>
std::map<std::string, std::set<std::string>> failEachCall(
    const std::function<void()>& reset, Model<C>& puzzle, KeyAction key,
    const std::function<std::string(const std::string& row, const Model<C>& m, const std::string& told)>& check) {
    std::map<std::string, std::set<std::string>> outcomes;
    std::vector<std::string> order;
    for (int32_t f = 0; f < 4; ++f)
        for (int32_t n = 1;; ++n) {
            reset();
            auto m = std::make_unique<Model<C>>(puzzle);
            seam = {};
            seam.failAt = n;
            seam.fault = static_cast<Fault>(f);
            const std::string told = pressKey(*m, key);
            if (seam.calls < n) break;
            if (seam.failedCall.empty()) continue;
            const std::string row = seam.failedCall + ", " + faultNames[f];
            if (!outcomes.count(row)) order.push_back(row);
            outcomes[row].insert(check(row + " (call " + std::to_string(n) + ")", *m, told));
        }
    for (const std::string& row : order) {
        std::string text;
        for (const std::string& outcome : outcomes[row]) text += (text.empty() ? "" : " | ") + outcome;
        std::printf("  %-40s %s\n", row.c_str(), text.c_str());
    }
    return outcomes;
}

// A save whose calls fail one by one, in every way each can: the file is then the previous save or the new one,
// whole, and no temporary file is left. A save that did not happen says so with the reason its call met; an
// interrupted call is made again and a short write continued, so those saves happen.
TEST_F(CubieSaveFailures, EachCallOfASaveFailingInTurn) {
    auto previous = built<cuboidAConfig>(3, 3, 3, 3);
    auto puzzle = std::make_unique<Model<cuboidAConfig>>(*previous);
    turnAndFinish(*puzzle, 0, 1, 1);
    fileCalls = systemFileCalls;
    ASSERT_TRUE(saveState(*puzzle, saveFileName));
    const std::string fresh = read(path);
    ASSERT_TRUE(saveState(*previous, saveFileName));
    const std::string old = read(path);
    fileCalls = seamCalls;
    const auto outcomes = failEachCall<cuboidAConfig>(
        [&] { write(old); }, *puzzle, KeyAction::save,
        [&](const std::string& row, const Model<cuboidAConfig>&, const std::string& told) {
            const std::string now = read(path);
            EXPECT_TRUE(now == old || now == fresh) << row << ": the file is neither the old nor the new one";
            EXPECT_EQ(entriesUnder(folder).size(), 1u) << row << ": a temporary file is left";
            if (told.empty()) {
                EXPECT_EQ(now, fresh) << row << ": reported nothing but did not save";
                return std::string("saved");
            }
            const int error = seam.fault == Fault::eio ? EIO : ENOSPC;
            EXPECT_EQ(told, "cuboid-a: SALVARE.TXT not saved: " + std::string(std::strerror(error)) + "\n") << row;
            EXPECT_TRUE(seam.fault == Fault::eio || seam.fault == Fault::enospc) << row << ": " << told;
            return std::string(now == old ? "not saved, old file" : "not saved, new file");
        });
    // Writing the bytes, syncing them, renaming and syncing the folder are what makes the save: none may fail
    // unreported.
    for (const char* call :
         {"write SALVARE.TXT.tmp", "fsync SALVARE.TXT.tmp", "rename SALVARE.TXT.tmp", "fsync the folder"})
        for (const char* fault : {", EIO", ", ENOSPC"}) {
            const auto at = outcomes.find(call + std::string(fault));
            ASSERT_NE(at, outcomes.end()) << call << " was never made";
            EXPECT_EQ(at->second.count("saved"), 0u) << call << fault;
        }
}

// A load whose calls fail one by one: the puzzle is then exactly as it was, and the refusal says why; an
// interrupted call is made again and a short read continued, so those loads happen.
TEST_F(CubieSaveFailures, EachCallOfALoadFailingInTurn) {
    auto small = built<cuboidAConfig>(2, 1, 1, 1);
    fileCalls = systemFileCalls;
    ASSERT_TRUE(saveState(*small, saveFileName));
    fileCalls = seamCalls;
    auto puzzle = built<cuboidAConfig>(3, 3, 3, 3);
    turnAndFinish(*puzzle, 2, 0, -1);
    failEachCall<cuboidAConfig>(
        [] {}, *puzzle, KeyAction::load,
        [&](const std::string& row, const Model<cuboidAConfig>& m, const std::string& told) {
            if (told.empty()) {
                EXPECT_EQ(std::memcmp(m.facets, small->facets, sizeof m.facets), 0) << row << ": not the file's puzzle";
                EXPECT_EQ(m.gridSize, 2) << row;
                return std::string("loaded");
            }
            EXPECT_TRUE(sameBytes(m, *puzzle)) << row << ": a refused load changed the puzzle";
            EXPECT_NE(seam.fault, Fault::eintr) << row;
            EXPECT_NE(seam.fault, Fault::shortTransfer) << row;
            const int error = seam.fault == Fault::eio ? EIO : ENOSPC;
            EXPECT_EQ(told, "cuboid-a: SALVARE.TXT not loaded: " + std::string(std::strerror(error)) + "\n") << row;
            return std::string("not loaded, puzzle unchanged");
        });
}

// What a power cut after the first steps entries of the journal may leave at SALVARE.TXT after the reboot
// ("missing" for no file). Only what was synced survives: a file keeps the bytes of its last sync; the folder
// keeps the names of its last sync, or those of any change made after it (a journalling file system writes its
// changes to names out in order, at any time).
std::set<std::string> afterPowerCut(const std::vector<JournalEntry>& journal, size_t steps, const std::string* old) {
    std::vector<std::string> bytes, synced;  // by file
    std::map<std::string, size_t> names;     // name -> file
    std::map<int, size_t> files;             // descriptor -> file
    constexpr size_t theFolder = SIZE_MAX;
    if (old) {
        bytes = synced = {*old};
        names["SALVARE.TXT"] = 0;
    }
    std::vector<std::map<std::string, size_t>> kept = {names};
    for (size_t step = 0; step < steps; ++step) {
        const JournalEntry& e = journal[step];
        if (e.call == "open" && (e.flags & O_DIRECTORY)) {
            files[e.fd] = theFolder;
        } else if (e.call == "open" && (e.flags & O_CREAT)) {
            files[e.fd] = names[e.name] = bytes.size();
            bytes.emplace_back();
            synced.emplace_back();
            kept.push_back(names);
        } else if (e.call == "open") {
            files[e.fd] = names.at(e.name);
        } else if (e.call == "write") {
            bytes[files.at(e.fd)] += e.bytes;
        } else if (e.call == "fsync" && files.at(e.fd) == theFolder) {
            kept = {names};
        } else if (e.call == "fsync") {
            synced[files.at(e.fd)] = bytes[files.at(e.fd)];
        } else {
            if (e.call == "rename") names[e.to] = names.at(e.name);
            names.erase(e.name);
            kept.push_back(names);
        }
    }
    std::set<std::string> left;
    for (const auto& n : kept) left.insert(n.count("SALVARE.TXT") ? synced[n.at("SALVARE.TXT")] : "missing");
    return left;
}

// A save cut off by a power cut after any of its steps leaves the previous file or the new one; once the save
// has returned, the new one.
TEST_F(CubieSaveFailures, APowerCutAfterAnyStepLeavesTheOldFileOrTheNew) {
    auto previous = built<cuboidAConfig>(3, 3, 3, 3);
    auto puzzle = std::make_unique<Model<cuboidAConfig>>(*previous);
    turnAndFinish(*puzzle, 1, 2, 1);
    for (const bool overPrevious : {true, false}) {
        SCOPED_TRACE(overPrevious ? "over an earlier save" : "the first save");
        emptyFolder();
        fileCalls = systemFileCalls;
        if (overPrevious) {
            ASSERT_TRUE(saveState(*previous, saveFileName));
        }
        const std::string old = overPrevious ? read(path) : "missing";
        fileCalls = seamCalls;
        seam = {};
        ASSERT_TRUE(saveState(*puzzle, saveFileName));
        const std::string fresh = read(path);
        for (size_t steps = 0; steps <= seam.journal.size(); ++steps) {
            const std::set<std::string> left = afterPowerCut(seam.journal, steps, overPrevious ? &old : nullptr);
            for (const std::string& file : left) {
                const bool done = steps == seam.journal.size();
                EXPECT_TRUE(file == fresh || (!done && file == old))
                    << "cut after " << steps << " of " << seam.journal.size()
                    << " steps: " << (file == old ? "the old file, after the save returned" : "neither old nor new");
            }
        }
    }
}

// What a key leaves in the folder, and the line the player is told. Temporary files left by saves that died
// are removed; whatever else stands at the temporary names is left exactly as it was.
TEST_F(CubieSaveFailures, LeftoversDecoysAndWhatThePlayerIsTold) {
    fileCalls = systemFileCalls;
    const auto file = [&](const std::string& name, const char* bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    };
    const auto tmp = [](int32_t i) { return "SALVARE.TXT.tmp" + (i > 0 ? std::to_string(i) : std::string()); };
    const auto victim = [&] {
        fs::create_directories(folder / "elsewhere");
        file("elsewhere/victim", "victim");
    };
    int held = -1;  // a live save's temporary file, locked by the test
    struct Case {
        const char* name;
        std::function<void()> layOut;
        KeyAction key;
        std::vector<std::string> gone;  // what the key removes
        std::string told;
    } const cases[] = {
        {"temporaries of saves that died, among decoys",
         [&] {
             file("SALVARE.TXT", "previous");
             for (int32_t i : {0, 5, 99}) file(tmp(i), "left by a save that died");
             victim();
             fs::create_symlink("elsewhere/victim", folder / tmp(1));
             fs::create_directory(folder / tmp(2));
             mkfifo((folder / tmp(3)).c_str(), 0644);
             fs::create_hard_link(folder / "elsewhere/victim", folder / tmp(4));
             file(tmp(6), "a live save's");
             held = open((folder / tmp(6)).c_str(), O_RDONLY | O_CLOEXEC);
             flock(held, LOCK_EX);
             file(tmp(7), "another user's");
             if (geteuid() != 0 || chown((folder / tmp(7)).c_str(), 1, 1) != 0) {
                 std::printf("  (no file of another user: the test cannot give one away)\n");
                 fs::remove(folder / tmp(7));
             }
         },
         KeyAction::save,
         {tmp(0), tmp(5), tmp(99)},
         ""},
        {"a hundred temporaries of saves that died",
         [&] {
             for (int32_t i = 0; i < 100; ++i) file(tmp(i), "left by a save that died");
         },
         KeyAction::save,
         [&] {
             std::vector<std::string> all;
             for (int32_t i = 0; i < 100; ++i) all.push_back(tmp(i));
             return all;
         }(),
         ""},
        {"a hundred links at the temporary names",
         [&] {
             file("SALVARE.TXT", "previous");
             victim();
             for (int32_t i = 0; i < 100; ++i) fs::create_symlink("elsewhere/victim", folder / tmp(i));
         },
         KeyAction::save,
         {},
         "cuboid-a: SALVARE.TXT not saved: every temporary name beside it is taken\n"},
        {"a pipe in place of the save file",
         [&] { mkfifo(path.c_str(), 0644); },
         KeyAction::save,
         {},
         "cuboid-a: SALVARE.TXT not saved: not a regular file\n"},
        {"a load without a save file",
         [] {},
         KeyAction::load,
         {},
         "cuboid-a: SALVARE.TXT not loaded: No such file or directory\n"},
        {"a load of a file that is no save",
         [&] { file("SALVARE.TXT", "2\r\n1\r\n"); },
         KeyAction::load,
         {},
         "cuboid-a: SALVARE.TXT not loaded: not a save file of this program\n"},
    };
    auto puzzle = built<cuboidAConfig>(2, 1, 1, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        emptyFolder();
        c.layOut();
        std::map<std::string, std::string> expected = entriesUnder(folder);
        for (const std::string& name : c.gone) expected.erase(name);
        const bool saves = c.key == KeyAction::save && c.told.empty();
        auto m = std::make_unique<Model<cuboidAConfig>>(*puzzle);
        EXPECT_EQ(pressKey(*m, c.key), c.told);
        std::map<std::string, std::string> now = entriesUnder(folder);
        if (saves) {
            EXPECT_EQ(read(path), singleCubieFile());
            now.erase("SALVARE.TXT");
            expected.erase("SALVARE.TXT");
        }
        EXPECT_EQ(now, expected);
        EXPECT_TRUE(sameBytes(*m, *puzzle));
        if (held >= 0) close(held), held = -1;
    }
}

}  // namespace
}  // namespace cubie_test
