#pragma once

#include "plan/PlanReader.h"
#include "run/LiveProgress.h"
#include "run/ProgressRecord.h"

#include <QtGlobal>

namespace zuk {

// The job the main window prepares and runs: the choices of the properties panel that live
// only while the program runs, and the run's own progress. The strike forces, the
// level-setting modes and the portrait mode are kept with the settings (Zuk.ini); the
// placement offsets with the picture's placement; the plan position with the command set.
struct Job {
    // Quality: single-sided strike runs ("Высокое", the hidden item Qual1 checked);
    // double-sided ("Стандарт", Qual2) otherwise.
    bool singleSided = false;
    // "Двойной проход" was chosen and the second pass has not begun yet.
    bool secondPass = false;
    // The second pass has begun; cleared only at program start.
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
};

} // namespace zuk
