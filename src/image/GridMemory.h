#pragma once

#include <cstddef>

namespace zuk {

// The cells of one grid in one block taken straight from the system, so that they start at 0
// without being written: the kernel zeroes a page when it is first touched, and a page never
// touched costs no memory at all (the mark grid stays so until the engraving plan fills it).
// A block of 2 MB or more starts on a 2 MB boundary and asks for transparent huge pages where
// the system offers them, so that a first touch zeroes 2 MB in one fault instead of 4 KB.
//
// Builds with AddressSanitizer take the block from the heap instead, where the sanitizer
// guards its ends.
class GridMemory {
public:
    GridMemory() = default;
    // A block of `bytes` bytes, all 0; throws std::bad_alloc when the system has no room.
    explicit GridMemory(std::size_t bytes);
    ~GridMemory();

    GridMemory(GridMemory&& other) noexcept;
    GridMemory& operator=(GridMemory&& other) noexcept;
    GridMemory(const GridMemory&) = delete;
    GridMemory& operator=(const GridMemory&) = delete;

    void* data() const { return data_; }
    std::size_t size() const { return bytes_; }

    // Sets the first `bytes` bytes (at most size()) to 0 again. The whole pages of a large
    // block are handed back to the system rather than written: they read as 0 and cost nothing
    // until they are touched again.
    void zero(std::size_t bytes);

private:
    void free() noexcept;

    void* data_ = nullptr;
    std::size_t bytes_ = 0;
    std::size_t mapped_ = 0; // the length of the mapping; 0 for a block from the heap
};

} // namespace zuk
