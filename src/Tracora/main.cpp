#include "StartUp.h"

int main(int argc, char** argv) {
    return runTracora(argc, argv);
}
