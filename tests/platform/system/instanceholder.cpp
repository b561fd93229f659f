// A copy of the program's start as far as the single-instance check, for the lock's tests:
// says "held" and keeps the lock until its input closes, or says "refused" and ends with 1.
// It takes ORLIX_HOME and the host name from the test that starts it.

#include "platform/system/appservices.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (AppServices::Instance().PrevInstance()) {
        std::puts("refused");
        return 1;
    }
    std::puts("held");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}
