#include "CommandLine.h"

int main(int argc, char** argv) {
    return runLogWriter(argc, argv);
}
