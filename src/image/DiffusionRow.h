#pragma once

// The inner loop of the serpentine error diffusion, shared by both conversion variants.

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zuk::diffusion {

#if defined(__SSE2__)

// A real held in the low lane of an SSE register. Whether a cell is struck is as good as
// random, so the diffusion picks between the two outcomes with a compare mask instead of a
// branch (a mispredicted branch costs more than working out both); keeping every real of the
// loop in these registers spares the moves between scalar and mask registers. Each operator
// is the one IEEE double operation of its scalar counterpart.
class Real {
public:
    explicit Real(double value) : lane_(_mm_set_sd(value)) {}
    static Real at(const double* cell) { return Real(_mm_load_sd(cell)); }
    void storeTo(double* cell) const { _mm_store_sd(cell, lane_); }

    friend Real operator+(Real a, Real b) { return Real(_mm_add_sd(a.lane_, b.lane_)); }
    friend Real operator-(Real a, Real b) { return Real(_mm_sub_sd(a.lane_, b.lane_)); }
    friend Real operator*(Real a, Real b) { return Real(_mm_mul_sd(a.lane_, b.lane_)); }

private:
    friend class Strike;
    explicit Real(__m128d lane) : lane_(lane) {}
    __m128d lane_;
};

// Whether a cell of the given value is struck: at or above the threshold.
class Strike {
public:
    Strike(Real value, Real threshold) : mask_(_mm_cmpge_sd(value.lane_, threshold.lane_)) {}
    bool taken() const { return _mm_movemask_pd(mask_) & 1; }
    Real pick(Real struck, Real missed) const {
        return Real(_mm_or_pd(_mm_and_pd(mask_, struck.lane_), _mm_andnot_pd(mask_, missed.lane_)));
    }
    // The value when struck, +0 when not.
    Real orZero(Real struck) const { return Real(_mm_and_pd(mask_, struck.lane_)); }

private:
    __m128d mask_;
};

#else

// The same with plain doubles, where the processor has no SSE2.
class Real {
public:
    explicit Real(double value) : value_(value) {}
    static Real at(const double* cell) { return Real(*cell); }
    void storeTo(double* cell) const { *cell = value_; }

    friend Real operator+(Real a, Real b) { return Real(a.value_ + b.value_); }
    friend Real operator-(Real a, Real b) { return Real(a.value_ - b.value_); }
    friend Real operator*(Real a, Real b) { return Real(a.value_ * b.value_); }

private:
    friend class Strike;
    double value_;
};

class Strike {
public:
    Strike(Real value, Real threshold) : taken_(value.value_ >= threshold.value_) {}
    bool taken() const { return taken_; }
    Real pick(Real struck, Real missed) const { return taken_ ? struck : missed; }
    Real orZero(Real struck) const { return taken_ ? struck : Real(0.0); }

private:
    bool taken_;
};

#endif

// What a cell becomes if it is struck, and from which value on it is struck.
struct Candidate {
    Real threshold;
    Real dot;
};

// One row of the serpentine Floyd–Steinberg diffusion, from column `first` to column `last`
// in steps of `Step` (+1 rightwards, −1 leftwards). For each cell, `quantiser.candidate(j)`
// gives the cell's candidate and `quantiser.commit(j, strike)` learns the outcome.
//
// Each share of the error is computed on its own from the same error, in one product: e·7/16 is
// e·0.4375, the same double as (e·7)/16, because 7/16 is exact and a division by 16 (a power of
// two) only moves the exponent, so both round the same exact value once. One product instead of
// two shortens the chain from one cell's value to the next one's, which bounds the row's speed. The
// value carried to the next cell along the row and the two cells below that still wait for shares
// stay in registers, so that every cell is read once and written once; each cell still receives its
// shares in the order of a cell-by-cell update (the cell below and behind got 1/16 while it was
// ahead, 5/16 while it was below, then 3/16), so every sum is the same. The error and the share
// carried along the row are worked out for both outcomes while the threshold is compared; a missed
// cell keeps its whole value as error (v − 0 = v).
template <int Step, typename Quantiser>
void diffuseRow(double* __restrict row, double* __restrict below, int first, int last,
                Quantiser& quantiser) {
    const Real threeSixteenths(3.0 / 16), fiveSixteenths(5.0 / 16), sevenSixteenths(7.0 / 16),
        sixteenth(1.0 / 16);
    Real value = Real::at(row + first);
    Real belowBehind = Real::at(below + first - Step);
    Real belowHere = Real::at(below + first);
    for (int j = first;; j += Step) {
        const Candidate candidate = quantiser.candidate(j);
        const Strike strike(value, candidate.threshold);
        quantiser.commit(j, strike);
        strike.orZero(candidate.dot).storeTo(row + j);
        const Real struckError = value - candidate.dot;
        const Real error = strike.pick(struckError, value);
        (belowBehind + error * threeSixteenths).storeTo(below + j - Step);
        belowBehind = belowHere + error * fiveSixteenths;
        belowHere = Real::at(below + j + Step) + error * sixteenth;
        value = Real::at(row + j + Step) +
                strike.pick(struckError * sevenSixteenths, value * sevenSixteenths);
        if (j == last)
            break;
    }
    value.storeTo(row + last + Step);
    belowBehind.storeTo(below + last);
    belowHere.storeTo(below + last + Step);
}

} // namespace zuk::diffusion
