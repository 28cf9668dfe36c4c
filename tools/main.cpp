#include <cstdio>

int main() {
    std::puts("orvtool");
    return 0;
}
