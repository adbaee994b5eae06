#pragma once

#include "app/ProgramDir.h"
#include "run/RecoveryFile.h"

namespace zuk {

class Program;

// What the run, STOP and the resumption share about the job's state and the window.

// The pass that runs: 1 or 2.
int runningPass(const Program& program);

// The job's values as the recovery file records them, from what the program holds now.
RecoveryData jobRecoveryData(const Program& program);

// The work state: everything but Help locked, STOP shown exactly while the run timer runs.
void enterWorkState(Program& program);
// The job has ended (or could not begin) and no longer holds the window, which shows what a
// start-up without a device shows: "Файл", "Порт" and "Тест" usable, "Работа" and
// "Установки" not until a greeting succeeds.
void enterNoDeviceState(Program& program);

// The job could not start or go on and no longer holds the window, which goes back to
// preparing jobs: the link up state while the device answers, else the state without a device.
void enterIdleState(Program& program);

// Tells the operator that the job is kept and how it is finished.
QString jobKeptText();

// The job stays unfinished: its recovery file and progress record stay, and a successful
// greeting ("Тест", the port menu) offers to finish it, as after a start-up that found it.
void keepJobPending(Program& program);

// Ends the job on the device without ending it on disk: "EndPrint", "Off", the run timer
// off, the link flag cleared, the plan closed and the progress record on the disk.
void suspendJob(Program& program);

// Shows a failure of the progress record once per job; the run goes on without it.
void noteProgressResult(Program& program, const FileResult& result);

} // namespace zuk
