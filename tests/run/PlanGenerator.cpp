#include "PlanGenerator.h"

#include "plan/PlanLine.h"

#include <algorithm>
#include <random>

namespace zuk::test {

namespace {

constexpr int kSplitGap = 4;   // this many "0" cells between struck cells split a stretch
constexpr int kNearGap = 20;   // approach through the middle of a gap up to this long
constexpr int kFarLead = 5;    // else this far before the target, in the same row
constexpr int kRowChange = 20; // single-sided: a next-row target further off is approached

bool struck(char code) {
    return code >= '1' && code <= '4';
}

struct Stretch {
    int first = 0; // leftmost struck column
    int last = 0;  // rightmost struck column
};

std::vector<Stretch> stretchesOf(const DotPicture& picture, int row, const PlanRegion& region) {
    std::vector<Stretch> found;
    int zeros = 0;
    for (int column = region.left; column <= region.right; ++column) {
        if (!struck(picture.code(row, column))) {
            ++zeros;
            continue;
        }
        if (found.empty() || zeros >= kSplitGap)
            found.push_back({column, column});
        else
            found.back().last = column;
        zeros = 0;
    }
    return found;
}

QByteArray digitsOf(const DotPicture& picture, int row, const Stretch& stretch, bool forward) {
    QByteArray digits;
    for (int column = stretch.first; column <= stretch.last; ++column) {
        const char code = picture.code(row, column);
        digits.append(struck(code) ? code : '0');
    }
    if (!forward)
        std::reverse(digits.begin(), digits.end());
    return digits;
}

class Lines {
public:
    void empty() { lines_.emplace_back(); }
    void goTo(int row, int column) { lines_.push_back(goToLine(row, column)); }
    void down() { lines_.push_back(kDownLine.toByteArray()); }
    void up() { lines_.push_back(kUpLine.toByteArray()); }
    void knock(const QByteArray& digits) { lines_.push_back(kKnockPrefix.toByteArray() + digits); }
    void kBack(const QByteArray& digits) { lines_.push_back(kKBackPrefix.toByteArray() + digits); }
    std::vector<QByteArray> take() { return std::move(lines_); }

private:
    std::vector<QByteArray> lines_;
};

// The approach point to the next stretch of the same row.
int sameRowApproach(int end, const Stretch& next, bool forward) {
    if (forward) {
        const int gap = next.first - end;
        return gap <= kNearGap ? end + gap / 2 : next.first - kFarLead;
    }
    const int gap = end - next.last;
    return gap <= kNearGap ? end - gap / 2 : next.last + kFarLead;
}

int nextRowApproach(int end, int start) {
    const int d = start - end;
    if (std::abs(d) <= kRowChange)
        return end + d / 2;
    return d < 0 ? end - (std::abs(d) - kRowChange) : start - kRowChange;
}

void planDoubleSided(const DotPicture& picture, const PlanRegion& region, Lines& out) {
    bool first = true;
    bool lastForward = false;
    int lastEnd = 0;
    for (int row = region.top; row <= region.bottom; ++row) {
        std::vector<Stretch> stretches = stretchesOf(picture, row, region);
        if (stretches.empty())
            continue;
        const bool forward = first || !lastForward;
        if (!forward)
            std::reverse(stretches.begin(), stretches.end());
        for (std::size_t k = 0; k < stretches.size(); ++k) {
            const Stretch& s = stretches[k];
            if (first) {
                out.empty();
            } else if (k > 0) {
                out.up();
                out.goTo(row, sameRowApproach(lastEnd, s, forward));
                out.down();
            }
            if (forward) {
                out.goTo(row, s.first);
                out.down();
                out.knock(digitsOf(picture, row, s, true));
            } else {
                out.goTo(row, s.last + 1);
                out.kBack(digitsOf(picture, row, s, false));
            }
            first = false;
            lastEnd = forward ? s.last : s.first;
            lastForward = forward;
        }
    }
    if (!first)
        out.up();
}

void planSingleSided(const DotPicture& picture, const PlanRegion& region, Lines& out) {
    bool first = true;
    int lastEnd = 0;
    int lastRow = 0;
    for (int row = region.top; row <= region.bottom; ++row) {
        const std::vector<Stretch> stretches = stretchesOf(picture, row, region);
        for (std::size_t k = 0; k < stretches.size(); ++k) {
            const Stretch& s = stretches[k];
            if (first) {
                out.empty();
            } else {
                out.up();
                if (k == 0 && row != lastRow + 1) {
                    out.empty(); // a new chain after rows without stretches
                } else {
                    out.goTo(row, k == 0 ? nextRowApproach(lastEnd, s.first)
                                         : sameRowApproach(lastEnd, s, true));
                    out.down();
                }
            }
            out.goTo(row, s.first);
            out.down();
            out.knock(digitsOf(picture, row, s, true));
            first = false;
            lastEnd = s.last;
            lastRow = row;
        }
    }
    if (!first)
        out.up();
}

} // namespace

char DotPicture::code(int row, int column) const {
    if (row < 1 || row > int(rows.size()) || column < 1 || column > int(rows[row - 1].size()))
        return '.';
    return rows[row - 1][column - 1];
}

std::map<std::pair<int, int>, int> DotPicture::struckCells() const {
    std::map<std::pair<int, int>, int> cells;
    for (int row = 1; row <= int(rows.size()); ++row)
        for (int column = 1; column <= int(rows[row - 1].size()); ++column)
            if (struck(code(row, column)))
                cells[{row, column}] = code(row, column) - '0';
    return cells;
}

std::vector<QByteArray> generatePlan(const DotPicture& picture,
                                     const std::vector<PlanRegion>& regions, Sides sides) {
    Lines out;
    for (const PlanRegion& region : regions) {
        if (sides == Sides::Double)
            planDoubleSided(picture, region, out);
        else
            planSingleSided(picture, region, out);
    }
    return out.take();
}

DotPicture randomPicture(unsigned seed, const std::vector<PlanRegion>& regions) {
    int height = 0;
    int width = 0;
    for (const PlanRegion& region : regions) {
        height = std::max(height, region.bottom);
        width = std::max(width, region.right);
    }
    DotPicture picture{std::vector<std::string>(height, std::string(width, '.'))};
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> code(0, 8);
    std::uniform_int_distribution<int> gapChance(0, 3);
    for (const PlanRegion& region : regions) {
        for (int row = region.top; row <= region.bottom; ++row) {
            std::string& cells = picture.rows[row - 1];
            for (int column = region.left; column <= region.right; ++column) {
                const int value = code(random);
                cells[column - 1] = value < 3 ? '0' : char('1' + (value - 3) % 4);
            }
            // Now and then a wide gap, so that a row holds two stretches.
            const int span = region.right - region.left + 1;
            if (span > 12 && gapChance(random) == 0) {
                const int start = region.left + 3 + int(random() % unsigned(span - 10));
                for (int column = start; column < start + 6; ++column)
                    cells[column - 1] = '0';
            }
        }
    }
    return picture;
}

} // namespace zuk::test
