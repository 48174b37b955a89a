#include "play/session.h"
#include "tetragir/about.h"
#include "tetragir/program.h"

int main(int argc, char** argv) {
    if (const auto exitStatus = play::readCommandLine(argc, argv, tetragir::about)) return *exitStatus;
    if (!tetragir::startUp()) return 1;
    while (tetragir::runFrame()) {
    }
    const int exitStatus = play::endSession(tetragir::stateDigest());
    tetragir::shutDown();
    return exitStatus;
}
