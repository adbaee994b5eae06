#include "app/Program.h"

#include "app/Language.h"
#include "image/PreparationFile.h"
#include "run/ProgressRecord.h"
#include "run/Resumption.h"

#include <QDir>

namespace zuk {

namespace {
constexpr quint8 kStartUpResolutionSetting = 16;

QString damagedRecoveryFileNote(const ProgramDir& dir, const RecoverySetAside& aside) {
    if (!aside.result.ok())
        return QStringLiteral(".\nУбрать его не удалось: ") + aside.result.error;
    return QStringLiteral(".\nНезавершённая работа не будет продолжена; файл сохранён как "
                          "\"%1\".")
        .arg(QDir::toNativeSeparators(dir.path(aside.keptAs)));
}
} // namespace

Program::Program(Screen& screen_, Clock& clock_, TransportFactory transports, ProgramDir dir_)
    : screen(screen_), menus(screen_), clock(clock_), dir(std::move(dir_)),
      port(std::move(transports)), exchange(port, screen, menus, clock, texts), commands(exchange),
      image(screen, texts, imageLinks()), movement(commands, image, screen, settings),
      frame(movement, commands, image, screen, clock) {}

ImageLinks Program::imageLinks() {
    ImageLinks links;
    links.linkActive = [this] { return exchange.linkActive(); };
    links.setStepTime = [this] { commands.setStepTime(settings.stepTimeFactor); };
    links.savedPlacement = [this]() -> std::optional<QPoint> {
        if (!unfinishedJob)
            return std::nullopt;
        return QPoint(savedJob.columnOffset, savedJob.rowOffset);
    };
    links.pictureOpened = [this] { pictureOpened = true; };
    links.resolution = [this] { return choices.resolutionIndex; };
    links.resolutionChosen = [this](int line) { choices.resolutionIndex = line; };
    links.resetPlanPosition = [this] { commands.position = {}; };
    links.preparationChosen = [this](const PreparationChoices& choices) {
        reportFileResult(savePreparation(dir, choices));
    };
    return links;
}

bool Program::reportFileResult(const FileResult& result) {
    if (!result.ok())
        screen.showMessage(MessageKind::Error, result.error);
    return result.ok();
}

void Program::formCreate() {
    texts.resetStatusTexts();
    screen.setCaption(kApplicationTitle);
    // The exchange starts at sequence number 0 with an empty log; the command set holds the
    // start-up defaults (step-time factor 12, motor parameter 1, U 32, T 23).
    keepAliveCount = 0;
    unfinishedJob = false;
    loadConfigurationFile();
    loadLanguageFile();
    loadPreparationFile();
    port.setPortName(portOverride.value_or(settings.portName));
    port.openPort();
    exchange.setLinkActive(true);
    timers.crush = false;
    noticeUnfinishedJob();
    readAboutTextsFile();
    image.setFieldSize(QSize(settings.fieldWidth, settings.fieldHeight));
    screen.showFieldView(image.view().image());
    image.buildToneTables();
    exchange.greeting();
    timers.timer4 = exchange.linkActive();
    programMotorDrivers();
    commands.measureLinkTiming();
    // With a job pending the head stays where it stopped: homing now would lose the one
    // position the resumption asks the device for. Ignoring the job homes it instead.
    if (!unfinishedJob)
        commands.resetError(settings.fieldWidth, settings.fieldHeight);
    image.buildPatternTable();
}

void Program::loadConfigurationFile() {
    const ConfigurationLoad load = loadConfiguration(dir, settings, choices);
    if (!load.ok())
        screen.showMessage(MessageKind::Warning, load.error);
    commands.stepTimeFactor = settings.stepTimeFactor;
}

void Program::loadLanguageFile() {
    const LanguageLoad load = loadLanguage(dir, texts);
    if (!load.ok())
        screen.showMessage(MessageKind::Warning, load.error);
}

void Program::loadPreparationFile() {
    const PreparationLoad load = loadPreparation(dir);
    if (!load.ok())
        screen.showMessage(MessageKind::Warning, load.error);
    image.setPreparation(load.choices);
}

void Program::noticeUnfinishedJob() {
    const RecoveryRead<RecoveryHeader> read = readRecoveryHeader(dir);
    if (read.status == RecoveryStatus::Missing)
        return;
    if (read.status == RecoveryStatus::Damaged) {
        // A job that cannot be read is not offered. The file is kept for the operator to look
        // at, under a name the next start does not find again.
        screen.showMessage(MessageKind::Error,
                           read.error +
                               damagedRecoveryFileNote(dir, setDamagedRecoveryFileAside(dir)));
        return;
    }
    if (!read.ok()) {
        // Unreadable (not damaged) may be passing: the file stays where it is.
        screen.showMessage(MessageKind::Error, read.error);
        return;
    }
    savedJob = read.data;
    unfinishedJob = true;
}

void Program::readAboutTextsFile() {
    // Only read here; the about box reads the file again each time it is shown.
    (void)readAboutTexts(dir);
}

void Program::programMotorDrivers() {
    // These run also after a failed greeting: the commands then send nothing and the
    // operator sees why for each driver.
    if (!commands.progXMotor(CommandSet::kResolutionParameter, kStartUpResolutionSetting)) {
        screen.showMessage(MessageKind::Error, QStringLiteral("Не отвечает драйвер двигателя X "));
        exchange.setLinkActive(false);
        menus.linkLost();
    }
    if (!commands.progYMotor(CommandSet::kResolutionParameter, kStartUpResolutionSetting)) {
        screen.showMessage(MessageKind::Error, QStringLiteral("Не отвечает драйвер двигателя Y "));
        exchange.setLinkActive(false);
        menus.linkLost();
    }
}

void Program::offerUnfinishedJob() {
    if (!unfinishedJob || !exchange.linkActive())
        return;
    const RecoveryChoice choice = screen.askRecoveryChoice();
    // Escape or the dialog's close box decides nothing: nothing is sent or deleted, and
    // "Тест" offers the job again.
    if (!choice.answered)
        return;
    if (choice.finish) {
        resumeWarmUpCycles = choice.warmUpCycles;
        timers.crush = true;
    } else {
        unfinishedJob = false;
        timers.timer3 = true;
        // The start-up left the head where the job stopped.
        commands.resetError(settings.fieldWidth, settings.fieldHeight);
    }
}

void Program::timer3Timer() {
    reportFileResult(removeRecoveryFile(dir));
    reportFileResult(removeProgressRecord(dir));
    timers.timer3 = false;
}

void Program::crushTimerTimer() {
    resumeJob(*this);
}

void Program::timer4Timer() {
    ++keepAliveCount;
    exchange.greeting();
    if (!exchange.linkActive())
        timers.timer4 = false;
    if (keepAliveCount >= kKeepAliveGreetings) {
        keepAliveCount = 0;
        timers.timer4 = false;
    }
}

void Program::formClose() {
    commands.endPrint();
    commands.off();
    exchange.closeTestingLog();
    port.closePort();
    reportFileResult(saveConfiguration(dir, settings, choices));
}

void Program::comPortClick(int item) {
    choosePort(settings, item);
    port.closePort();
    port.setPortName(settings.portName);
    port.openPort();
    deviceReadyCheck();
}

void Program::deviceReadyCheck() {
    exchange.setLinkActive(true);
    exchange.greeting();
    if (exchange.linkActive()) {
        screen.showMessage(MessageKind::Information, texts.status(StatusText::DeviceReady));
        menus.linkUp();
        exchange.setLinkError(false);
        if (unfinishedJob)
            offerUnfinishedJob();
    } else {
        screen.showMessage(MessageKind::Error, QStringLiteral("Устройство не отвечает"));
        menus.linkLost();
        exchange.setLinkError(true);
    }
}

} // namespace zuk
