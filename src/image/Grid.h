#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace zuk {

// A zero-filled table of rows × columns cells kept in one block, so that a conversion walks
// memory in order. Only the first `filledRows` rows hold cells; any rows after them exist as
// empty rows (the mark grid keeps one such row at its end).
template <typename T> class Grid {
public:
    Grid() = default;
    Grid(int rows, int cols) : Grid(rows, cols, rows) {}
    Grid(int rows, int cols, int filledRows)
        : rows_(rows), cols_(cols), filledRows_(filledRows),
          cells_(static_cast<std::size_t>(filledRows) * static_cast<std::size_t>(cols), T{}) {
        if (rows < 0 || cols < 0 || filledRows < 0 || filledRows > rows)
            throw std::invalid_argument("grid size out of range");
    }

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    // The number of cells of row i: cols() for the filled rows, 0 for the empty ones.
    int rowLength(int i) const { return i < filledRows_ ? cols_ : 0; }
    bool empty() const { return rows_ == 0; }

    // Unchecked access for the inner loops; i must be a filled row.
    T* row(int i) { return cells_.data() + static_cast<std::size_t>(i) * cols_; }
    const T* row(int i) const { return cells_.data() + static_cast<std::size_t>(i) * cols_; }

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
    void check(int i, int j) const {
        if (i < 0 || i >= rows_ || j < 0 || j >= rowLength(i))
            throw std::out_of_range("grid cell (" + std::to_string(i) + ", " + std::to_string(j) +
                                    ") outside " + std::to_string(rows_) + " rows of " +
                                    std::to_string(cols_));
    }

    int rows_ = 0;
    int cols_ = 0;
    int filledRows_ = 0;
    std::vector<T> cells_;
};

} // namespace zuk
