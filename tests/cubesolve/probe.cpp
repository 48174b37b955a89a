// cubesolve-probe: the program's own cube, move player and solver with no window, no drawing and no pacing, so a
// solve takes milliseconds. Test-only. Commands on standard input, one a line; answers on standard output, one
// line each:
//   size N       a solved cube of edge N (2 to 5), as the size key leaves it
//   moves TEXT   plays the rest of the line as a move string
//   pattern R    plays pattern R (0 to 7)
//   key K        in the next solve, a key counts as waiting once K letters of it have been played
//   solve        solves as the r key does; answers "solution " and the letters played, in order
//   stickers     answers "stickers" and 6 * N * N colours: for axis 0, 1, 2; side 0, then side N - 1; over the
//                two other grid indices ascending, the lower-numbered axis outermost
//   quit
// Anything else answers a line starting with "error", and the probe goes on.
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

#include "cubesolve/controls.h"
#include "cubesolve/model.h"
#include "cubesolve/moves.h"
#include "cubesolve/program.h"
#include "cubesolve/solver.h"
#include "cubesolve/state.h"
#include "window/window.h"

using namespace cubesolve;

namespace {

bool readNumber(std::istringstream& in, int& value) { return static_cast<bool>(in >> value); }

void printStickers() {
    const Model& m = state.puzzle;
    const int n = m.gridSize;
    std::cout << "stickers";
    for (int axis = 0; axis < 3; ++axis)
        for (int side : {0, n - 1})
            for (int u = 0; u < n; ++u)
                for (int v = 0; v < n; ++v) {
                    int at[3];
                    at[axis] = side;
                    at[axis == 0 ? 1 : 0] = u;
                    at[axis == 2 ? 1 : 2] = v;
                    std::cout << ' ' << slotSticker(m, at[0], at[1], at[2], axis);
                }
    std::cout << '\n';
}

void solve(int keyAfter) {
    ProbeSwitches& probe = state.probe;
    probe.lettersPlayed = 0;
    probe.keyAfterLetters = keyAfter;
    probe.logMoves = true;
    probe.moveLogLength = 0;
    solveCube();
    probe.logMoves = false;
    probe.keyAfterLetters = -1;
    std::cout << "solution " << std::string(probe.moveLog, static_cast<size_t>(probe.moveLogLength)) << '\n';
}

}  // namespace

int main() {
    set_frame_rate(0);
    state.probe.headless = true;
    resetProgram(1);
    int keyAfter = -1;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        std::string command;
        in >> command;
        int value = 0;
        if (command == "quit") break;
        if (command == "size" && readNumber(in, value) && value >= smallestGrid && value <= largestGrid) {
            resizeCube(value);
        } else if (command == "moves") {
            const size_t at = line.find("moves") + 5;
            runMoves(line.c_str() + (at < line.size() && line[at] == ' ' ? at + 1 : at));
        } else if (command == "pattern" && readNumber(in, value) && value >= 0 && value < 8) {
            playPatternNumber(value);
        } else if (command == "key" && readNumber(in, value) && value >= 0) {
            keyAfter = value;
        } else if (command == "solve") {
            solve(keyAfter);
            keyAfter = -1;
        } else if (command == "stickers") {
            printStickers();
        } else {
            std::cout << "error: cannot read \"" << line << "\"\n";
        }
        std::cout.flush();
    }
    return 0;
}
