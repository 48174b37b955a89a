#include "pentagir/program.h"

int main() {
    if (!pentagir::startUp()) return 1;
    while (pentagir::runFrame()) {
    }
    pentagir::shutDown();
    return 0;
}
