#include "pentagir/about.h"
#include "pentagir/program.h"

int main(int argc, char** argv) {
    if (const auto exitStatus = play::readCommandLine(argc, argv, pentagir::about)) return *exitStatus;
    if (!pentagir::startUp()) return 1;
    while (pentagir::runFrame()) {
    }
    pentagir::shutDown();
    return 0;
}
