#pragma once

// Inputs for the static checks' own test: faults the checks must find. Never built.

#include <string>
#include <utility>
#include <vector>

// Reads the text after handing it away: clang-tidy's use-after-move finding, in a header that
// two sources include.
inline std::size_t keepText(std::string text, std::vector<std::string>& kept) {
    kept.push_back(std::move(text));
    return text.size();
}
