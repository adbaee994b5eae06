#pragma once

#include "image/PageMemory.h"

#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace zuk {

// A table of rows × columns cells kept in one block, so that a conversion walks memory in
// order. Only the first `filledRows` rows hold cells; any rows after them exist as empty rows
// (the mark grid keeps one such row at its end).
template <typename T> class Grid {
    static_assert(std::is_trivially_copyable_v<T>, "grid cells are copied as bytes");

public:
    Grid() = default;
    Grid(int rows, int cols) : Grid(rows, cols, rows) {}
    Grid(int rows, int cols, int filledRows) { reset(rows, cols, filledRows); }

    Grid(Grid&&) noexcept = default;
    Grid& operator=(Grid&&) noexcept = default;
    Grid(const Grid& other) { *this = other; }
    Grid& operator=(const Grid& other) {
        if (this != &other) {
            resizeForOverwrite(other.rows_, other.cols_, other.filledRows_);
            if (const std::size_t bytes = cellCount() * sizeof(T))
                std::memcpy(memory_.data(), other.memory_.data(), bytes);
        }
        return *this;
    }

    // Resizes the grid and sets every cell to 0.
    void reset(int rows, int cols) { reset(rows, cols, rows); }
    void reset(int rows, int cols, int filledRows) {
        if (reshape(rows, cols, filledRows))
            memory_.zero(cellCount() * sizeof(T));
    }

    // Resizes the grid for a caller that writes every cell next: the cells hold whatever they
    // held before (fresh memory holds 0), and nothing is spent on zeroing them.
    void resizeForOverwrite(int rows, int cols) { resizeForOverwrite(rows, cols, rows); }
    void resizeForOverwrite(int rows, int cols, int filledRows) { reshape(rows, cols, filledRows); }

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    // The number of cells of row i: cols() for the filled rows, 0 for the empty ones.
    int rowLength(int i) const { return i < filledRows_ ? cols_ : 0; }
    bool empty() const { return rows_ == 0; }

    // Unchecked access for the inner loops; i must be a filled row.
    T* row(int i) { return cells() + static_cast<std::size_t>(i) * cols_; }
    const T* row(int i) const { return cells() + static_cast<std::size_t>(i) * cols_; }

    // Checked access: a cell outside the grid is an error, never a stray write.
    T& at(int i, int j) {
        check(i, j);
        return row(i)[j];
    }
    const T& at(int i, int j) const {
        check(i, j);
        return row(i)[j];
    }

    // Frees the cells; the grid becomes 0 × 0.
    void release() { *this = Grid(); }

private:
    T* cells() const { return static_cast<T*>(memory_.data()); }
    std::size_t cellCount() const {
        return static_cast<std::size_t>(filledRows_) * static_cast<std::size_t>(cols_);
    }

    // Takes the new size. The block is kept when it is of a fitting size (reusing memory
    // already in use is much cheaper than fresh pages); otherwise the old block is freed
    // before the new one is taken, so the two never coexist. Returns whether the block was
    // kept, that is whether the cells still hold old values.
    bool reshape(int rows, int cols, int filledRows) {
        if (rows < 0 || cols < 0 || filledRows < 0 || filledRows > rows)
            throw std::invalid_argument("grid size out of range");
        const std::size_t bytes =
            static_cast<std::size_t>(filledRows) * static_cast<std::size_t>(cols) * sizeof(T);
        const bool kept = bytes <= memory_.size() && bytes >= memory_.size() / 2;
        if (!kept) {
            memory_ = PageMemory();
            rows_ = cols_ = filledRows_ = 0;
            memory_ = PageMemory(bytes);
        }
        rows_ = rows;
        cols_ = cols;
        filledRows_ = filledRows;
        return kept;
    }

    void check(int i, int j) const {
        if (i < 0 || i >= rows_ || j < 0 || j >= rowLength(i))
            throw std::out_of_range("grid cell (" + std::to_string(i) + ", " + std::to_string(j) +
                                    ") outside " + std::to_string(rows_) + " rows of " +
                                    std::to_string(cols_));
    }

    int rows_ = 0;
    int cols_ = 0;
    int filledRows_ = 0;
    PageMemory memory_;
};

} // namespace zuk
