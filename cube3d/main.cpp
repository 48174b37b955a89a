#include "cube3d/about.h"
#include "cube3d/program.h"
#include "play/session.h"

int main(int argc, char** argv) {
    if (const auto exitStatus = play::readCommandLine(argc, argv, cube3d::about)) return *exitStatus;
    if (!cube3d::startUp()) return 1;
    while (cube3d::runFrame()) {
    }
    const int exitStatus = play::endSession(cube3d::stateDigest());
    cube3d::shutDown();
    return exitStatus;
}
