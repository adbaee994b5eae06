#pragma once

#include "image/DotImage.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

namespace zuk::test {

// One cell the head steps over in a strike line, with the code written for it.
struct HeadStep {
    int row = 0;
    int column = 0;
    char code = '0';
};

// A plan followed as the engraving head follows it, written independently of the builder:
// "GoTo:" puts the head on a cell; the first digit of "Knock:" belongs to that cell and each
// further one to the next cell to the right; the first digit of "KBack:" to the cell left of
// it and each further one to the next cell to the left.
struct HeadWalk {
    std::vector<HeadStep> steps;
    // What the plan does that the run could not follow or that no plan should do: an unknown
    // line, a damaged "GoTo:", a strike line without a "GoTo:" since the previous one or with
    // the needle raised, a character that is not a strike code.
    QStringList problems;
};

HeadWalk walkPlan(const QByteArray& plan);

// Checks the walk against the picture as it was before the build: every picture cell with a
// dot value above 0 is struck exactly once, no cell twice, every strike with the code of the
// cell's dot value, and a "0" only on a cell without a dot or already struck. Returns what is
// wrong (empty when nothing is).
QStringList strikeFaults(const DotImage& before, const HeadWalk& walk);

} // namespace zuk::test
