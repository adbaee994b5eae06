#include "run/DevicePreparation.h"

#include "app/Program.h"

namespace zuk {

DevicePreparation::DevicePreparation(Program& program, RepairedAnswers repaired)
    : program_(program), repaired_(repaired),
      unansweredWaitsBefore_(program.exchange.unansweredWaits()),
      missedAnswersBefore_(program.exchange.missedAnswers()) {}

bool DevicePreparation::send(std::initializer_list<PassSetting> settings,
                             const StrikeLevels& levels) {
    for (PassSetting setting : settings) {
        if (failed_)
            return false;
        // A link already down sends nothing: the device was not reached at all.
        if (!program_.exchange.linkActive()) {
            failed_ = true;
            return false;
        }
        if (!sendOne(setting, levels) || !deviceInStep())
            noteFailure(setting);
    }
    return !failed_;
}

bool DevicePreparation::sendOne(PassSetting setting, const StrikeLevels& levels) {
    CommandSet& commands = program_.commands;
    const Settings& settings = program_.settings;
    switch (setting) {
    case PassSetting::StrikeTimingT:
        commands.strikeSetting(CommandSet::kStrikeT, CommandSet::kJobStrikeT);
        return true;
    case PassSetting::StrikeTimingU:
        commands.strikeSetting(CommandSet::kStrikeU, CommandSet::kJobStrikeU);
        return true;
    // A motor driver's garbled completion counts as a missed answer; one that stays silent
    // takes the link down.
    case PassSetting::Resolution:
        commands.setResolutionSteps(settings.resolutionIndex);
        return true;
    case PassSetting::StepTime:
        commands.setStepTime(commands.stepTimeFactor);
        return true;
    case PassSetting::StrikeProfile:
        commands.setStrike(levels);
        return true;
    case PassSetting::Home:
        commands.resetError(settings.fieldWidth, settings.fieldHeight);
        return true;
    }
    return false;
}

// The link is up, no command failed, every wait had its answer and, unless repaired answers
// are accepted, every answer came as expected.
bool DevicePreparation::deviceInStep() const {
    const CommandExchange& exchange = program_.exchange;
    const bool everyAnswerAsExpected =
        repaired_ == RepairedAnswers::Accept || exchange.missedAnswers() == missedAnswersBefore_;
    return exchange.linkActive() && !exchange.linkError() &&
           exchange.unansweredWaits() == unansweredWaitsBefore_ && everyAnswerAsExpected;
}

void DevicePreparation::noteFailure(std::optional<PassSetting> setting) {
    if (failed_)
        return;
    failed_ = true;
    const CommandExchange& exchange = program_.exchange;
    const CurrentCommand& command = exchange.command();
    // The strike timing settings have no name of their own in the exchange log: they are
    // named by their key and value.
    const bool strikeTiming =
        setting == PassSetting::StrikeTimingT || setting == PassSetting::StrikeTimingU;
    failedCommand_ =
        strikeTiming ? QStringLiteral("'%1' %2").arg(QChar(command.bytes[2])).arg(command.bytes[3])
        : exchange.missedAnswers() != missedAnswersBefore_ ? exchange.lastMissedCommand()
                                                           : command.name;
}

bool DevicePreparation::beginPrint() {
    if (failed_ || !program_.exchange.linkActive()) {
        failed_ = true;
        return false;
    }
    program_.commands.beginPrint();
    if (!deviceInStep())
        noteFailure(std::nullopt);
    return !failed_;
}

QString DevicePreparation::failureText() const {
    if (failedCommand_.isEmpty())
        return QStringLiteral("Гравировальное устройство не отвечает.");
    return QStringLiteral("Устройство не выполнило команду \"%1\".").arg(failedCommand_);
}

} // namespace zuk
