// Input for the static checks' own test: sound code the checks must pass. Never built.

#include <vector>

// A raw search loop, which the project's cppcheck suppressions leave alone as a matter of taste.
bool containsNegative(const std::vector<int>& values) {
    for (const int value : values)
        if (value < 0)
            return true;
    return false;
}
