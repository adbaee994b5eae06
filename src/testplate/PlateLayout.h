#pragma once

#include "image/DotImage.h"

#include <QRect>
#include <QString>

#include <optional>
#include <vector>

namespace zuk {

// The forces a test plate tries: from, to and the step between them, as the operator gives
// them. Every force lies in 1..200, the trackbars' range.
struct PlateForces {
    int from = 20;
    int to = 90;
    int step = 10;
};

inline constexpr int kLowestPlateForce = 1;
inline constexpr int kHighestPlateForce = 200;
inline constexpr int kDefaultPatchDots = 20;
inline constexpr int kSmallestPatchDots = 4;
inline constexpr int kLargestPatchDots = 400;
// The device holds one strike profile of four forces: a plate is struck four patches a job.
inline constexpr int kPatchesPerJob = 4;

// Why the range cannot be tried (a force outside 1..200, a step below 1, to below from);
// nothing when it can.
std::optional<QString> forcesRefusal(const PlateForces& forces);
// The forces from `from` up to `to` by `step`, in that order.
std::vector<int> forceList(const PlateForces& forces);

// One patch of the plate: its force, the solid block struck with it and the box of the digits
// under it, in plate dots; the small job that strikes it and the strike code (1..4, the
// levels "8".."32") the force has in that job.
struct PlatePatch {
    int force = 0;
    QRect block;
    QRect label;
    int job = 0;
    int code = 1;
};

// The scale of a patch's digits: ten dots of the block for each dot of the font.
int digitScale(int patchDots);

// The patches in force order, row after row, and the plate's size in dots.
struct PlateLayout {
    QSize size;
    int patchDots = 0;
    std::vector<PlatePatch> patches;

    int jobCount() const;
    // The forces the small job strikes, weakest first.
    std::vector<int> jobForces(int job) const;
};

// Lays the patches out one after another, as many in a row as `fieldDots` is wide, further
// rows below; the digits of each force centred under its block. Nothing (and why) when the
// forces cannot be tried or the plate does not fit the field.
std::optional<PlateLayout> layOutPlate(const PlateForces& forces, int patchDots, QSize fieldDots,
                                       QString* why);

// The plate's dots as a conversion leaves a picture's: every patch and its digits a solid
// shape of the patch's strike code, the rest no picture cell. With `job` given, only that
// small job's patches: the others' places stay empty, so each job strikes its part of the
// same picture at the same place.
DotImage plateDots(const PlateLayout& layout, std::optional<int> job = std::nullopt);

} // namespace zuk
