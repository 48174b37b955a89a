#include "tetragir/program.h"

int main() {
    if (!tetragir::startUp()) return 1;
    while (tetragir::runFrame()) {
    }
    tetragir::shutDown();
    return 0;
}
