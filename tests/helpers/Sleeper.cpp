// A process for tests to list and end: sleeps for the milliseconds given
// (default one minute), then exits with code 0.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    DWORD milliseconds = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 60000;
    Sleep(milliseconds);
    return 0;
}
