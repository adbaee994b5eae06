#pragma once

#include "plan/EngravingChoices.h"
#include "plan/PlanReader.h"
#include "run/LiveProgress.h"
#include "run/ProgressRecord.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace zuk {

// How a run ended; each end of the run sets its own.
enum class RunOutcome {
    Finished,           // the normal end: the plate engraved, the job's files removed
    FaultStop,          // the link failed: the advice shown, the job kept
    EndedWithoutDevice, // the plan ran through with the link down: the job kept
    PlanFault,          // a plan line or file the run cannot carry out: the job kept
    StoppedAndKept, // "Завершить работу" after STOP, or the window closed: the job kept
};

// The job the program runs: what the job start made of its request (or the resumption of the
// recovery file), and the run's own progress. The run, STOP and the second pass read the job's
// values here and nothing of the operator's choices, picture or placement, which may be
// prepared anew for the next job.
struct Job {
    // The choices the job runs with. "Продолжить работу" takes the forces the abort panel left.
    EngravingChoices choices;
    // The picture file the recovery file names.
    QString pictureFile;
    // The placement offsets (column, row) added to every plan position.
    QPoint offset;
    // The working field in dots at the job's density line: no plan line takes the head beyond
    // it (one column more, where a backward run over the last column begins).
    QSize field;
    // The second pass has begun; a new job's first pass clears it.
    bool secondPassRunning = false;
    // Plan lines read since the pass began.
    qint32 planLineCounter = 0;
    // The plan the run reads, open at its next line.
    PlanReader plan;
    // How far the running pass got, kept on disk beside the recovery file.
    ProgressRecorder progress;
    // Lines of this pass that ran while the link was down: nothing of them reached the device.
    qint32 linesWithoutLink = 0;
    // A failure to write the progress record has been shown (once per job).
    bool progressFailureShown = false;
    // The status bar's progress line: lines done of the job's lines, the time left.
    JobLiveProgress liveProgress;
    // How the run ended; nothing from the job start (or the resumption) until it ends.
    std::optional<RunOutcome> outcome;

    // "Двойной проход" was chosen and the second pass has not begun yet.
    bool secondPassToCome() const { return choices.secondPass && !secondPassRunning; }
    // The strike forces of the pass that runs.
    const StrikeLevels& runningForces() const {
        return choices.forces(secondPassRunning ? Pass::Second : Pass::First);
    }
};

} // namespace zuk
