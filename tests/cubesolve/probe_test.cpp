// The program's cube, move player and solver through cubesolve-probe, checked against the independent sticker
// model: every letter on every size, the eight patterns, the solver on seeded random scrambles, the solved cube,
// and solves a key cuts short.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/cubesolve/probe_client.h"
#include "tests/support/sticker_model.h"

namespace {

using oracle::Cube;

// The tests' sticker model of a solved cube of cubesolve's colours.
Cube solvedCube(int n) { return Cube(n, oracle::cubesolveSides); }

std::string randomMoves(std::mt19937& random, int length) {
    static const std::string letters = "DIUBJFLKRdiubjflkr";
    std::string moves;
    for (int n = 0; n < length; ++n) moves += letters[random() % letters.size()];
    return moves;
}

std::vector<int> solvedStickers(int n) { return solvedCube(n).probeOrder(); }

struct LetterCase {
    int size;
    std::string before;  // a scramble both models play first, so no turn is checked only on a solved cube
    std::string moves;
};

TEST(CubesolveMoves, EveryLetterTurnsItsLayerClockwiseSeenFromOutsideTheFaceItNames) {
    std::mt19937 random(7);
    std::vector<LetterCase> cases;
    for (int n = 2; n <= 5; ++n)
        for (char upper : std::string("DIUBJFLKR")) {
            const char lower = char(upper - 'A' + 'a');
            const std::string scramble = randomMoves(random, 12);
            cases.push_back({n, scramble, std::string(1, upper)});
            cases.push_back({n, scramble, std::string(1, lower)});
            cases.push_back({n, "", std::string(4, upper)});            // four quarter turns: nothing changed
            cases.push_back({n, scramble, std::string{upper, lower}});  // a turn and its inverse
        }
    // Characters that name no turn are skipped; only the first 255 characters of a string are played.
    cases.push_back({3, "", "F 1R-u9"});
    cases.push_back({3, "", std::string(255, ' ') + "F"});
    cases.push_back({3, "", std::string(254, '.') + "F"});
    std::vector<std::string> commands;
    for (const LetterCase& c : cases) {
        commands.push_back("size " + std::to_string(c.size));
        commands.push_back("moves " + c.before);
        commands.push_back("moves " + c.moves);
        commands.push_back("stickers");
    }
    const probe::Result result = probe::run(commands);
    ASSERT_EQ(result.lines.size(), cases.size());
    for (size_t n = 0; n < cases.size(); ++n) {
        const LetterCase& c = cases[n];
        Cube model = solvedCube(c.size);
        model.play(c.before);
        model.play(c.moves.substr(0, 255));
        EXPECT_EQ(probe::stickers(result.lines[n]), model.probeOrder())
            << "N = " << c.size << ", after \"" << c.before << "\" then \"" << c.moves.substr(0, 20) << "\"";
    }
}

TEST(CubesolveMoves, WholeCubeTurnCarriesTheSideCentresRound) {
    // "diU" turns all three horizontal layers like U: the right centre comes to the front, the back to the right.
    const probe::Result result = probe::run({"size 3", "moves diU", "stickers"});
    ASSERT_EQ(result.lines.size(), 1u);
    const std::vector<int> s = probe::stickers(result.lines[0]);
    ASSERT_EQ(s.size(), 54u);
    const int centre = 4;  // middle of each side's 3 x 3 list
    EXPECT_EQ(s[0 * 9 + centre], 14) << "down";
    EXPECT_EQ(s[1 * 9 + centre], 15) << "up";
    EXPECT_EQ(s[3 * 9 + centre], 2) << "front shows the former right colour";
    EXPECT_EQ(s[5 * 9 + centre], 13) << "right shows the former back colour";
}

TEST(CubesolveSolver, SolvesSeededRandomScrambles) {
    constexpr int scrambles = 300;
    std::mt19937 random(2024);
    std::vector<std::string> scramble;
    std::vector<std::string> commands;
    for (int n = 0; n < scrambles; ++n) {
        scramble.push_back(randomMoves(random, 20 + int(random() % 20)));
        commands.insert(commands.end(), {"size 3", "moves " + scramble.back(), "solve", "stickers"});
    }
    const probe::Result result = probe::run(commands);
    ASSERT_EQ(result.lines.size(), 2u * scrambles);
    size_t longest = 0;
    for (int n = 0; n < scrambles; ++n) {
        bool ok = false;
        const std::string solution = probe::solution(result.lines[2 * n], ok);
        ASSERT_TRUE(ok) << result.lines[2 * n];
        longest = std::max(longest, solution.size());
        Cube model = solvedCube(3);
        model.play(scramble[n]);
        model.play(solution);
        EXPECT_TRUE(model.solved()) << "scramble " << scramble[n] << " solution " << solution;
        EXPECT_EQ(probe::stickers(result.lines[2 * n + 1]), model.probeOrder()) << "scramble " << scramble[n];
    }
    std::printf("longest solution: %zu letters\n", longest);
}

TEST(CubesolveSolver, SolvedCubeTurnsRoundTwiceAndEndsAsItStarted) {
    const probe::Result result = probe::run({"size 3", "solve", "stickers", "key 0", "solve"});
    ASSERT_EQ(result.lines.size(), 3u);
    bool ok = false;
    // Stage 1 counts the down-front edge four times and stage 2 the down-front-right corner, each count followed
    // by a quarter turn of the whole cube; the later stages find their goal at once.
    EXPECT_EQ(probe::solution(result.lines[0], ok), "diUdiUdiUdiUdiUdiUdiUdiU");
    EXPECT_EQ(probe::stickers(result.lines[1]), solvedStickers(3));
    // With a key waiting from the start, every stage runs exactly one pass.
    EXPECT_EQ(probe::solution(result.lines[2], ok), "diUdiU");
}

TEST(CubesolveSolver, OtherSizesHaveNoSolution) {
    const probe::Result result = probe::run({"size 2", "moves FRU", "solve", "size 4", "solve", "size 5", "solve"});
    EXPECT_EQ(result.lines, (std::vector<std::string>{"solution ", "solution ", "solution "}));
}

TEST(CubesolveSolver, KeyCutSolvesEndAndAFullSolveStillFinishesTheCube) {
    // A key at any point ends the running stage after its pass and lets every later stage run one pass; on the
    // unfinished cube this leaves, the later stages' loops must give up instead of turning for ever.
    std::mt19937 random(99);
    std::vector<std::string> scramble;
    std::vector<std::string> commands;
    const int cuts[] = {0, 1, 3, 8, 20, 45, 80, 130, 200};
    for (int cut : cuts)
        for (int n = 0; n < 6; ++n) {
            scramble.push_back(randomMoves(random, 25));
            commands.insert(commands.end(), {"size 3", "moves " + scramble.back(), "key " + std::to_string(cut),
                                             "solve", "solve", "stickers"});
        }
    const probe::Result result = probe::run(commands);
    ASSERT_EQ(result.lines.size(), 3 * scramble.size());
    for (size_t n = 0; n < scramble.size(); ++n) {
        bool cutOk = false, fullOk = false;
        const std::string cut = probe::solution(result.lines[3 * n], cutOk);
        const std::string full = probe::solution(result.lines[3 * n + 1], fullOk);
        ASSERT_TRUE(cutOk && fullOk) << result.lines[3 * n];
        Cube model = solvedCube(3);
        model.play(scramble[n] + cut + full);
        EXPECT_TRUE(model.solved()) << "scramble " << scramble[n] << ", cut solve " << cut;
        EXPECT_EQ(probe::stickers(result.lines[3 * n + 2]), model.probeOrder());
    }
}

// The eight patterns of the m key, written out in the player's notation, leave on every size what the sticker
// model makes of the same letters (on sizes 4 and 5 they turn layers 0 to 2 only; on size 2 a letter of layer 2
// turns nothing).
TEST(CubesolvePatterns, EachPatternLeavesWhatItsLettersMakeOfTheCube) {
    // clang-format off
    const std::string patterns[8] = {
        "fuBUUbURUUrFBDfDDFdlDDLb", "BRldRRDrLbRRUBBuDRRd", "RUFFdRlFbdfrFFRUUFRRfrufUUFR", "lRRflbUBLFRuRL",
        "LLFFRRLLFFRRFB",           "IJij",                 "FBRLFBRLFBRLUDUD",             "FFRRBBLLFFRRBBLLFFRRBBLL",
    };
    // clang-format on
    std::vector<std::string> commands;
    for (int n = 2; n <= 5; ++n)
        for (int r = 0; r < 8; ++r)
            commands.insert(commands.end(), {"size " + std::to_string(n), "pattern " + std::to_string(r), "stickers"});
    const probe::Result result = probe::run(commands);
    ASSERT_EQ(result.lines.size(), 4u * 8u);
    for (int n = 2; n <= 5; ++n)
        for (int r = 0; r < 8; ++r) {
            Cube model = solvedCube(n);
            model.play(patterns[r]);
            EXPECT_EQ(probe::stickers(result.lines[(n - 2) * 8 + r]), model.probeOrder())
                << "pattern " << r << " \"" << patterns[r] << "\" on N = " << n;
        }
}

TEST(CubesolveProbe, BadCommandsAnswerAnErrorAndTheProbeGoesOn) {
    const probe::Result result =
        probe::run({"size 6", "size", "pattern 8", "key -1", "jump", "size 2", "stickers", "quit", "stickers"});
    ASSERT_EQ(result.lines.size(), 6u);
    for (int n = 0; n < 5; ++n) EXPECT_EQ(result.lines[n].rfind("error", 0), 0u) << result.lines[n];
    EXPECT_EQ(probe::stickers(result.lines[5]), solvedStickers(2));
    EXPECT_EQ(result.exitStatus, 0);
}

}  // namespace
