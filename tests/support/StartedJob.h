#pragma once

#include "plan/JobRequest.h"

#include <QByteArray>
#include <QPoint>
#include <QString>

#include <vector>

namespace zuk {
class Program;
}

namespace zuk::test {

// A job as the job start sets it up.
struct JobSpec {
    std::vector<QByteArray> plan;
    bool secondPass = false;
    bool portrait = false;
    int edgeDots = 8;
    int resolution = 0;
    QPoint offset{3, 5}; // column and row offset of the placement
    // Distinct even forces, so that a strike's force tells which pass struck it.
    StrikeLevels first{40, 30, 20, 10};
    StrikeLevels second{60, 50, 36, 26};
};

// The request of the job: the spec's choices and placement, no dots (the plan is written).
JobRequest jobRequestOf(const Program& program, const JobSpec& spec);

// The plan's lines as the plan file holds them, each ended by CR LF.
QByteArray planFileBytes(const std::vector<QByteArray>& lines);

// Leaves the program and its device as the job start leaves a new job: the plan file (and
// its second-pass copy) holding `planFile`, the plan open, the progress record begun, the
// recovery file written, the device programmed, homed and told "Begin print", the run timer
// on. The spec's own plan lines are not used. Empty on success, else what went wrong.
QString startJobAsTheJobStartDoes(Program& program, const JobSpec& spec,
                                  const QByteArray& planFile);

} // namespace zuk::test
