#pragma once

// What a test plate left on the simulated engraver's plate, checked patch by patch.
#include "simulator/Plate.h"
#include "testplate/PlateLayout.h"

#include <QString>

#include <utility>
#include <vector>

namespace zuk::test {

// One strike: its working-field cell (row, column) and the force it was struck with.
struct PlateStrike {
    std::pair<qint64, qint64> cell;
    int force = 0;
};

std::vector<PlateStrike> strikesOf(const sim::Plate& plate);
// The CSV zuk-devsim writes: index,pass,column,row_steps,level,force.
std::vector<PlateStrike> strikesOf(const QString& csvPath);

// Each force (even, as the device keeps them) struck as one solid patch of `patchDots` with
// its digits under it, the patches in force order across and down, no other force and no
// cell twice over all the jobs.
void expectPlate(const std::vector<PlateStrike>& strikes, const PlateForces& forces, int patchDots);

} // namespace zuk::test
