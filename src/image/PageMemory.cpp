#include "image/PageMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace zuk {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kFromHeap = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kFromHeap = true;
#else
constexpr bool kFromHeap = false;
#endif
#else
constexpr bool kFromHeap = false;
#endif

constexpr std::size_t kHugePage = std::size_t(2) << 20;

std::size_t pageSize() {
    static const std::size_t size = std::size_t(sysconf(_SC_PAGESIZE));
    return size;
}

std::size_t roundUp(std::size_t value, std::size_t step) {
    return (value + step - 1) / step * step;
}

// Maps `length` bytes starting on a huge-page boundary: maps a huge page more than needed and
// hands back the slack on both sides.
char* mapAlignedToHugePages(std::size_t length) {
    const std::size_t reserved = length + kHugePage;
    void* base =
        mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED)
        return nullptr;
    char* const start = static_cast<char*>(base);
    // Stepping from the mapping's start keeps the pointer derived from the mapping (the
    // step is below a huge page, so it stays inside what was reserved).
    const auto address = reinterpret_cast<std::uintptr_t>(start);
    char* const aligned = start + (roundUp(address, kHugePage) - address);
    if (aligned > start)
        munmap(start, std::size_t(aligned - start));
    char* const end = aligned + length;
    if (start + reserved > end)
        munmap(end, std::size_t(start + reserved - end));
#ifdef MADV_HUGEPAGE
    madvise(aligned, length, MADV_HUGEPAGE); // a system without them just says no
#endif
    return aligned;
}

char* mapPages(std::size_t length) {
    void* base = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return base == MAP_FAILED ? nullptr : static_cast<char*>(base);
}

} // namespace

PageMemory::PageMemory(std::size_t bytes) {
    if (bytes == 0)
        return;
    if (kFromHeap) {
        data_ = std::calloc(bytes, 1);
        if (!data_)
            throw std::bad_alloc();
        bytes_ = bytes;
        return;
    }
    const std::size_t length = roundUp(bytes, pageSize());
    char* block = length >= kHugePage ? mapAlignedToHugePages(length) : mapPages(length);
    if (!block)
        throw std::bad_alloc();
    data_ = block;
    bytes_ = bytes;
    mapped_ = length;
}

PageMemory::~PageMemory() {
    free();
}

PageMemory::PageMemory(PageMemory&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), bytes_(std::exchange(other.bytes_, 0)),
      mapped_(std::exchange(other.mapped_, 0)) {}

PageMemory& PageMemory::operator=(PageMemory&& other) noexcept {
    if (this != &other) {
        free();
        data_ = std::exchange(other.data_, nullptr);
        bytes_ = std::exchange(other.bytes_, 0);
        mapped_ = std::exchange(other.mapped_, 0);
    }
    return *this;
}

void PageMemory::zero(std::size_t bytes) {
    char* const cells = static_cast<char*>(data_);
    std::size_t written = 0;
    if (mapped_ != 0 && bytes >= kHugePage) {
        const std::size_t whole = bytes / pageSize() * pageSize();
        // A private anonymous page handed back reads as 0 when it is next touched.
        if (madvise(cells, whole, MADV_DONTNEED) == 0)
            written = whole;
    }
    if (bytes > written)
        std::memset(cells + written, 0, bytes - written);
}

void PageMemory::free() noexcept {
    if (mapped_ != 0)
        munmap(data_, mapped_);
    else
        std::free(data_);
    data_ = nullptr;
    bytes_ = 0;
    mapped_ = 0;
}

QImage pictureInFreshPages(int width, int height, QImage::Format format) {
    const qsizetype pixelBytes = format == QImage::Format_Grayscale8 ? 1 : 4;
    const qsizetype stride = (qsizetype(width) * pixelBytes + 3) / 4 * 4; // whole 32-bit words
    auto* memory = new PageMemory(std::size_t(stride) * std::size_t(height));
    QImage picture(
        static_cast<uchar*>(memory->data()), width, height, stride, format,
        [](void* pages) { delete static_cast<PageMemory*>(pages); }, memory);
    if (picture.isNull())
        delete memory;
    return picture;
}

} // namespace zuk
