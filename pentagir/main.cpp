#include "pentagir/about.h"
#include "pentagir/program.h"
#include "play/session.h"

int main(int argc, char** argv) {
    if (const auto exitStatus = play::readCommandLine(argc, argv, pentagir::about)) return *exitStatus;
    if (!pentagir::startUp()) return 1;
    while (pentagir::runFrame()) {
    }
    const int exitStatus = play::endSession(pentagir::stateDigest());
    pentagir::shutDown();
    return exitStatus;
}
