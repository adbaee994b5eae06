#pragma once

#include <QImage>

#include <cstddef>

namespace zuk {

// A block of memory taken straight from the system in whole pages (a grid's cells, a
// picture's pixels), so that it starts at 0 without being written: the kernel zeroes a page
// when it is first touched, and a page never touched costs no memory at all (the mark grid
// stays so until the engraving plan fills it). A block of 2 MB or more starts on a 2 MB
// boundary and asks for transparent huge pages where the system offers them, so that a first
// touch zeroes 2 MB in one fault instead of 4 KB.
//
// Builds with AddressSanitizer take the block from the heap instead, where the sanitizer
// guards its ends.
class PageMemory {
public:
    PageMemory() = default;
    // A block of `bytes` bytes, all 0; throws std::bad_alloc when the system has no room.
    explicit PageMemory(std::size_t bytes);
    ~PageMemory();

    PageMemory(PageMemory&& other) noexcept;
    PageMemory& operator=(PageMemory&& other) noexcept;
    PageMemory(const PageMemory&) = delete;
    PageMemory& operator=(const PageMemory&) = delete;

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

// A picture (32-bit RGB, or 8-bit gray) whose pixels lie in fresh pages of their own: no
// zero-fill, few page faults. Throws std::bad_alloc when there is no room.
QImage pictureInFreshPages(int width, int height, QImage::Format format = QImage::Format_RGB32);

} // namespace zuk
