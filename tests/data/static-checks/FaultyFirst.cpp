#include "Faulty.h"

// One past the end of the array: cppcheck's out-of-bounds finding.
int lastOfFour() {
    const int values[4] = {1, 2, 3, 4};
    return values[4];
}
