#include "cuboid/about.h"
#include "cuboid/program.h"
#include "play/session.h"

int main(int argc, char** argv) {
    if (const auto exitStatus = play::readCommandLine(argc, argv, cuboid::about)) return *exitStatus;
    if (!cuboid::startUp()) return 1;
    while (cuboid::runFrame()) {
    }
    const int exitStatus = play::endSession(cuboid::stateDigest());
    cuboid::shutDown();
    return exitStatus;
}
