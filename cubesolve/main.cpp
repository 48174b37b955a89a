#include "cubesolve/about.h"
#include "cubesolve/program.h"

int main(int argc, char** argv) {
    if (const auto exitStatus = play::readCommandLine(argc, argv, cubesolve::about)) return *exitStatus;
    if (!cubesolve::startUp()) return 1;
    while (cubesolve::runFrame()) {
    }
    cubesolve::shutDown();
    return 0;
}
