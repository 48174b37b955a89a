// cube3d's save file through its keys: the exact bytes at start and after a known turn, worked out from the build
// order, the face table and the turn's rotation; a save, turn and load that restores the puzzle; and files the
// program must refuse without changing anything it shows or is doing.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <memory>

#include "tests/cube3d/support.h"

namespace cube3d_test {
namespace {

constexpr const char* saveFile = "SALVARE.TXT";

std::string line(const int32_t* values, int32_t count) {
    std::string text;
    for (int32_t v = 0; v < count; ++v) {
        if (v > 0) text += ' ';
        text += std::to_string(values[v]);
    }
    text += "\r\n";
    return text;
}

// The file of a freshly built n-cube after an optional quarter turn of one layer. Corner q of cell (i, j, k) is
// followed through the rotation of its cell centre and of the side its bits name, which by the rule
// u' = u cos - v sin, v' = u sin + v cos takes (u, v) to (-v, u) at +90 degrees and to (v, -u) at -90.
std::string expectedFile(int32_t n, int32_t axis = -1, int32_t layer = 0, int32_t sense = 1) {
    auto moved = [&](int32_t vertex) {
        const int32_t s = vertex / 8, q = vertex % 8;
        int32_t cell[3] = {s / (n * n), s / n % n, s % n}, side[3];
        for (int32_t a = 0; a < 3; ++a) side[a] = (q >> a) & 1 ? 1 : -1;
        if (axis < 0 || cell[axis] != layer) return vertex;
        const int32_t u = axis == 0 ? 1 : 0, v = axis == 2 ? 1 : 2;
        // Doubled coordinates about the grid's centre keep everything whole.
        const int32_t cu = 2 * cell[u] - (n - 1), cv = 2 * cell[v] - (n - 1);
        const int32_t su = side[u], sv = side[v];
        cell[u] = ((sense > 0 ? -cv : cv) + n - 1) / 2;
        cell[v] = ((sense > 0 ? cu : -cu) + n - 1) / 2;
        side[u] = sense > 0 ? -sv : sv;
        side[v] = sense > 0 ? su : -su;
        int32_t corner = 0;
        for (int32_t a = 0; a < 3; ++a) corner |= (side[a] > 0) << a;
        return ((cell[0] * n + cell[1]) * n + cell[2]) * 8 + corner;
    };
    std::string text;
    for (int32_t header = 0; header < 4; ++header) {
        text += std::to_string(n);
        text += "\r\n";
    }
    text += "5999\r\n";
    int32_t records = 0;
    for (int32_t i = 0; i < n; ++i)
        for (int32_t j = 0; j < n; ++j)
            for (int32_t k = 0; k < n; ++k) {
                const bool outer[6] = {k == n - 1, k == 0, i == 0, i == n - 1, j == 0, j == n - 1};
                for (int32_t f = 0; f < 6; ++f) {
                    int32_t record[5];
                    for (int32_t c = 0; c < 4; ++c)
                        record[c] = moved(((i * n + j) * n + k) * 8 + cubie::faceCorners[f][c]);
                    record[4] = outer[f] ? outerCode[f] : 8;
                    text += line(record, 5);
                    ++records;
                }
            }
    for (; records < 6000; ++records) text += "0 0 0 0 0\r\n";
    return text;
}

int32_t lineCount(const std::string& text) {
    int32_t lines = 0;
    for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    return lines;
}

TEST_F(Cube3dSave, SavedStartPosition) {
    frame(0, 0, 0, 'k');
    const std::string saved = readFile(saveFile);
    EXPECT_EQ(lineCount(saved), 6005);
    EXPECT_EQ(saved.substr(0, 33), "10\r\n10\r\n10\r\n10\r\n5999\r\n4 6 7 5 8\r\n");
    EXPECT_TRUE(saved == expectedFile(10)) << "the start file differs from the build order and face table";
}

// A close button's save arrives as the same key; here the file after turns made by the turn operations.
TEST_F(Cube3dSave, SavedAfterAKnownTurn) {
    struct Case {
        const char* name;
        int32_t grid, axis, layer, sense;
    } const cases[] = {
        {"10-cube, layer 3 about x, +90", 10, 0, 3, 1},
        {"10-cube, layer 9 about y, -90", 10, 1, 9, -1},
        {"3-cube, middle layer about z, +90", 3, 2, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        state.puzzle.gridSize = c.grid;
        for (int32_t& d : state.puzzle.dims) d = c.grid;
        ASSERT_TRUE(rebuild());
        cubie::startTurn(state.puzzle, c.axis, c.layer, c.sense);
        frame(0, 0, 0, 'k');
        EXPECT_TRUE(readFile(saveFile) == expectedFile(c.grid)) << "a save during a turn stores the state before it";
        EXPECT_EQ(framesUntilIdle(), 89);
        frame(0, 0, 0, 'k');
        EXPECT_TRUE(readFile(saveFile) == expectedFile(c.grid, c.axis, c.layer, c.sense));
    }
}

TEST_F(Cube3dSave, SaveTurnAndLoadRestoresThePuzzle) {
    // A 10 x 4 x 7 cuboid, scrambled, then saved.
    for (uint8_t key : {'z', 'z', 'z', 'z', 'z', 'z', 'c', 'c', 'c', 'a'}) frame(0, 0, 0, key);
    framesUntilIdle();
    frame(0, 0, 0, 'k');
    const std::string saved = readFile(saveFile);
    const auto before = std::make_unique<Model>(state.puzzle);
    frame(0, 0, 0, 'a');
    framesUntilIdle();
    state.cameraYaw = -30;
    state.cameraPitch = 170;
    ASSERT_NE(std::memcmp(before->facets, state.puzzle.facets, sizeof before->facets), 0);
    frame(0, 0, 0, 'l');
    EXPECT_EQ(state.puzzle.gridSize, 10);
    EXPECT_EQ(state.puzzle.dims[0], 10);
    EXPECT_EQ(state.puzzle.dims[1], 4);
    EXPECT_EQ(state.puzzle.dims[2], 7);
    EXPECT_EQ(std::memcmp(before->facets, state.puzzle.facets, sizeof before->facets), 0);
    // Turned points keep the rounding of every step; the load files them exactly at home.
    double furthest = 0;
    for (int32_t v = 0; v < Model::vertexCount; ++v)
        for (int32_t a = 0; a < 3; ++a)
            furthest = std::max(furthest, std::fabs(before->worldVertex[v][a] - state.puzzle.worldVertex[v][a]));
    EXPECT_LT(furthest, 1e-6);
    EXPECT_EQ(state.cameraYaw, 45);
    EXPECT_EQ(state.cameraPitch, 45);
    EXPECT_TRUE(readFile(saveFile) == saved) << "loading leaves the file alone";
}

// A save file the player has made read-only is not replaced: the save is refused, the file and its mode stay, and
// the program goes on. Once writable again it is replaced, keeps its mode, and no temporary file stays behind.
TEST_F(Cube3dSave, ARefusedSaveKeepsThePreviousFile) {
    namespace fs = std::filesystem;
    frame(0, 0, 0, 'k');
    const std::string previous = readFile(saveFile);
    ASSERT_EQ(lineCount(previous), 6005);
    const auto mode = [] { return static_cast<int>(fs::status(saveFile).permissions()); };
    fs::permissions(saveFile, static_cast<fs::perms>(0444));
    frame(0, 0, 0, 's');
    frame(0, 0, 0, 'k');
    EXPECT_TRUE(readFile(saveFile) == previous);
    EXPECT_EQ(mode(), 0444);
    EXPECT_EQ(state.puzzle.gridSize, 2) << "the refused save changed nothing else either";
    EXPECT_TRUE(frame(0, 0, 0)) << "the program goes on";
    fs::permissions(saveFile, static_cast<fs::perms>(0600));
    frame(0, 0, 0, 'k');
    EXPECT_EQ(readFile(saveFile).substr(0, 3), "2\r\n");
    EXPECT_EQ(mode(), 0600);
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1) << "a file besides the save";
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// Files the program must not apply: what they would do unchecked is noted with each. The puzzle, the camera, the
// running turn and the pending scramble all stay as they were.
TEST_F(Cube3dSave, BadFilesChangeNothing) {
    const std::string good = expectedFile(10);
    const std::string small = expectedFile(2);
    struct Case {
        const char* name;
        std::string file;
    } const cases[] = {
        {"grid size 0 (a division by zero)", replaced(good, "10\r\n10\r\n", "0\r\n10\r\n")},
        {"grid size 11 (past the arrays)", replaced(good, "10\r\n10\r\n", "11\r\n10\r\n")},
        {"dimension 0", replaced(good, "10\r\n10\r\n10\r\n10\r\n", "10\r\n10\r\n0\r\n10\r\n")},
        {"dimension above N", replaced(small, "2\r\n2\r\n2\r\n2\r\n", "2\r\n3\r\n2\r\n2\r\n")},
        {"last record index 6000", replaced(good, "5999", "6000")},
        {"vertex index 8000", replaced(good, "4 6 7 5 8", "8000 6 7 5 8")},
        {"a cubie past the loaded grid (a drag start past the grid)",
         replaced(small, "0 0 0 0 0", "7996 7998 7999 7997 12")},
        {"a cubie outside the loaded cuboid",
         replaced(replaced(small, "2\r\n2\r\n2\r\n2\r\n", "2\r\n2\r\n2\r\n1\r\n"), "0 0 0 0 0", "12 14 15 13 12")},
        {"corners of no face", replaced(good, "4 6 7 5 8", "0 6 7 5 8")},
        {"corners of two cubies", replaced(good, "4 6 7 5 8", "4 6 7 13 8")},
        {"truncated", good.substr(0, good.size() / 2)},
        {"text", replaced(good, "4 6 7 5 8", "4 six 7 5 8")},
    };
    frame(0, 0, 0, 'a');
    for (int32_t i = 0; i < 130; ++i) frame(0, 0, 0);  // one scramble turn done, the next under way
    state.cameraYaw = 123;
    state.cameraPitch = -77;
    ASSERT_TRUE(state.puzzle.turning);
    const auto before = std::make_unique<ProgramState>(state);
    auto unchanged = [&] {
        // The model's working spaces at its end hold nothing of the puzzle.
        return std::memcmp(&before->puzzle, &state.puzzle, offsetof(Model, refileSpace)) == 0 &&
               state.cameraYaw == before->cameraYaw && state.cameraPitch == before->cameraPitch;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(saveFile, std::ios::binary) << c.file;
        state.puzzle.loadRequested = true;
        EXPECT_FALSE(rebuild());
        EXPECT_TRUE(unchanged());
    }
    std::filesystem::remove(saveFile);
    state.puzzle.loadRequested = true;
    EXPECT_FALSE(rebuild()) << "the file is missing";
    EXPECT_TRUE(unchanged());
    // The unspoilt files load, so each refusal above is its change's doing.
    for (const std::string& file : {good, small}) {
        std::ofstream(saveFile, std::ios::binary) << file;
        state.puzzle.loadRequested = true;
        EXPECT_TRUE(rebuild());
    }
}

}  // namespace
}  // namespace cube3d_test
