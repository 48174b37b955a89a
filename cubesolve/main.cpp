#include "cubesolve/about.h"
#include "cubesolve/program.h"
#include "play/session.h"

int main(int argc, char** argv) {
    if (const auto exitStatus = play::readCommandLine(argc, argv, cubesolve::about)) return *exitStatus;
    if (!cubesolve::startUp()) return 1;
    while (cubesolve::runFrame()) {
    }
    const int exitStatus = play::endSession(cubesolve::stateDigest());
    cubesolve::shutDown();
    return exitStatus;
}
