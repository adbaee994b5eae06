#include "Faulty.h"

std::size_t keepGreeting(std::vector<std::string>& kept) {
    return keepText("greeting", kept);
}
