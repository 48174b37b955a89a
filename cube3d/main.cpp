#include "cube3d/about.h"
#include "cube3d/program.h"

int main(int argc, char** argv) {
    if (const auto exitStatus = play::readCommandLine(argc, argv, cube3d::about)) return *exitStatus;
    if (!cube3d::startUp()) return 1;
    while (cube3d::runFrame()) {
    }
    cube3d::shutDown();
    return 0;
}
