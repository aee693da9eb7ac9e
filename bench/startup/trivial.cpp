// The baseline of the start-up benchmark: a C++ program that only prints.
#include <cstdio>

int main() {
    std::puts("KESTREL");
    return 0;
}
