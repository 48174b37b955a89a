#include "tetragir/about.h"
#include "tetragir/program.h"

int main(int argc, char** argv) {
    if (const auto exitStatus = play::readCommandLine(argc, argv, tetragir::about)) return *exitStatus;
    if (!tetragir::startUp()) return 1;
    while (tetragir::runFrame()) {
    }
    tetragir::shutDown();
    return 0;
}
