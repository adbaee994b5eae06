#pragma once

#include "app/StrikeLevels.h"

#include <QString>

#include <initializer_list>
#include <optional>

namespace zuk {

class Program;

// A setting that prepares the device for a pass.
enum class PassSetting {
    StrikeTimingT, // 'T' 46, the strike timing of a job
    StrikeTimingU, // 'U' 64
    Resolution,    // the motors' 0x60 of both motors: 16 + the resolution index
    StepTime,      // the motors' 0x61 of both motors: the step-time factor
    StrikeProfile, // "SetStrike" with the pass's four forces
    Home,          // "Reset eror": the head home, the plan position 0, 0
};

// How a preparation takes an answer that did not come as expected but that the
// resynchronisation repaired (the device answered the burst in step).
enum class RepairedAnswers {
    // A new job: nothing has been struck yet, so any doubt ends the job start; the operator
    // only starts it again.
    EndThePreparation,
    // The second pass or a resumption: a repaired answer is as good as the answer itself,
    // and stopping would cost a restart of the device and a resumption.
    Accept,
};

// The device prepared for a pass: the job start, the second pass and the resumption each send
// their settings in their own order through one of these, then "Begin print".
//
// The pass runs only on a device that took every setting: a setting that fails (the link goes
// down, a completion wait ends without the device's answer, a motor driver does not answer),
// or, for a new job, one whose answer did not come as expected, ends the preparation. The
// settings after it are not sent and "Begin print" is not either, so the device never engraves
// a pass with the forces, the steps or the head position it held before (after a restart, its
// own defaults), and the caller keeps the job to be finished later.
class DevicePreparation {
public:
    DevicePreparation(Program& program, RepairedAnswers repaired);

    // Sends the settings in this order, `levels` for the strike profile; nothing once one
    // before has failed. False when the preparation has failed.
    bool send(std::initializer_list<PassSetting> settings, const StrikeLevels& levels = {});
    // "Begin print" when every setting went through; true when the device is ready for the
    // pass.
    bool beginPrint();

    bool failed() const { return failed_; }
    // The command that failed, as the exchange log names it; empty while none has, or when the
    // link was already down.
    const QString& failedCommand() const { return failedCommand_; }
    // What the operator is told: the command the device did not carry out.
    QString failureText() const;

private:
    bool sendOne(PassSetting setting, const StrikeLevels& levels);
    bool deviceInStep() const;
    void noteFailure(std::optional<PassSetting> setting);

    Program& program_;
    RepairedAnswers repaired_;
    int unansweredWaitsBefore_ = 0;
    int missedAnswersBefore_ = 0;
    bool failed_ = false;
    QString failedCommand_;
};

} // namespace zuk
