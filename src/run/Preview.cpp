#include "run/Preview.h"

#include "app/Program.h"
#include "app/QuietScreen.h"
#include "plan/JobStart.h"
#include "plan/TimeEstimate.h"
#include "run/JobRunner.h"
#include "run/RunState.h"
#include "simulator/Reports.h"
#include "simulator/SimTransport.h"

#include <QTemporaryDir>

namespace zuk {

namespace {

// The window handles its events at most this often while the simulated run goes on.
constexpr qint64 kEventIntervalMs = 100;

QString previewFailure(const QString& why) {
    return QStringLiteral("Предпросмотр не удался: %1").arg(why);
}

// The screen of the preview's own program. The operator sees its messages from the job start
// on (a file that cannot be written, a run that stopped), not those of its start-up, which
// repeats what the program's own start-up has shown; the rest stays unseen.
class PreviewScreen final : public QuietScreen {
public:
    explicit PreviewScreen(Screen& shown) : shown_(shown) {}

    void showMessages() { forwarding_ = true; }
    const QStringList& heldMessages() const { return held_; }

    void showMessage(MessageKind kind, const QString& text) override {
        if (forwarding_)
            shown_.showMessage(kind, text);
        else
            held_ << text;
    }

private:
    Screen& shown_;
    bool forwarding_ = false;
    QStringList held_;
};

// The program directory of the preview: Zuk.ini as the program holds its settings now.
bool prepareScratchDirectory(Program& program, const QTemporaryDir& scratch) {
    if (!scratch.isValid()) {
        program.screen.showMessage(
            MessageKind::Error,
            previewFailure(QStringLiteral("не удалось создать временный каталог: %1")
                               .arg(scratch.errorString())));
        return false;
    }
    // A copy: writing the defaults' file would put the defaults' field into the settings it
    // writes, and the preview's file holds the field in use.
    Settings settings = program.settings;
    settings.writeDefaults = false;
    return program.reportFileResult(
        saveConfiguration(ProgramDir(scratch.path()), settings, program.choices));
}

// The preview's program, started up against its engraver, with the program's settings, texts,
// step-time factor and self-test box in memory; the job itself comes with the request.
bool startPreviewProgram(Program& preview, const Program& program, const PreviewScreen& screen) {
    preview.portOverride = QString::fromLatin1("sim");
    // The preview's job is not run on the machine: it is kept out of the journal of jobs.
    preview.journal.enabled = false;
    preview.formCreate();
    if (!preview.exchange.linkActive()) {
        QStringList why{QStringLiteral("встроенная модель гравёра не отвечает.")};
        program.screen.showMessage(MessageKind::Error,
                                   previewFailure((why + screen.heldMessages()).join('\n')));
        return false;
    }
    preview.texts = program.texts;
    preview.settings = program.settings;
    preview.commands.stepTimeFactor = program.commands.stepTimeFactor;
    preview.stepControl = program.stepControl;
    return true;
}

// Runs the preview's job to its end, letting the window repaint now and then; true when it
// ended normally.
bool runToTheEnd(Program& preview, Program& program, qint64 planLines) {
    JobRunner runner(preview);
    // Both passes, the second pass's start and the end each take a tick.
    const qint64 tickLimit = 2 * (planLines + 2);
    runner.setTickLimit(tickLimit);
    qint64 lastEventsMs = program.clock.monotonicMs();
    runner.setBeforeEachTick([&program, &lastEventsMs] {
        if (program.clock.monotonicMs() - lastEventsMs >= kEventIntervalMs) {
            program.screen.processEvents();
            lastEventsMs = program.clock.monotonicMs();
        }
        return true;
    });
    const RunReport report = runner.run();
    if (report.tickLimitReached) {
        program.screen.showMessage(
            MessageKind::Error,
            previewFailure(QStringLiteral("работа на модели гравёра не закончилась за %1 шагов.")
                               .arg(tickLimit)));
        return false;
    }
    if (report.outcome != RunOutcome::Finished) {
        program.screen.showMessage(
            MessageKind::Error,
            previewFailure(QStringLiteral("работа на модели гравёра не закончилась.")));
        return false;
    }
    return true;
}

} // namespace

QImage platePicture(const sim::Plate& plate, QSize field) {
    // The engraver strikes cell (r, c) at column c and row step 2r; the view shows it at
    // pixel (c - 1, r - 1).
    return sim::renderPlate(plate, field + QSize(1, 1)).copy(1, 1, field.width(), field.height());
}

std::optional<JobPreview> previewJob(Program& program) {
    const JobRequest request = preparedJob(program);
    if (const std::optional<QString> refused = jobRefusal(request)) {
        program.screen.showMessage(MessageKind::Warning, *refused);
        return std::nullopt;
    }
    const QTemporaryDir scratch(scratchDirectoryTemplate(QStringLiteral("zuk-preview")));
    if (!prepareScratchDirectory(program, scratch))
        return std::nullopt;

    VirtualClock clock(program.clock.now());
    const std::shared_ptr<sim::Engraver> engraver = sim::makeEngraver();
    // Whatever port the settings name, the preview's program reaches only its own engraver.
    TransportFactory transports = [engraver, &clock](const QString&) {
        return sim::openBuiltInEngraver(engraver, clock);
    };
    PreviewScreen screen(program.screen);
    Program preview(screen, clock, std::move(transports), ProgramDir(scratch.path()));
    if (!startPreviewProgram(preview, program, screen))
        return std::nullopt;

    const PlanBuildResult built = buildJobPlan(program, request, preview.dir);
    if (!built.ok) {
        program.screen.showMessage(MessageKind::Error, built.error);
        return std::nullopt;
    }
    screen.showMessages();
    const qint64 startMs = clock.monotonicMs();
    const JobStartResult started = launchJob(preview, request, built.lines);
    if (!started.started || !runToTheEnd(preview, program, built.lines))
        return std::nullopt;

    JobPreview result;
    // The working-field view, its border included: the job start accepts a placement that
    // reaches into the border, so every strike of a job that starts lies on it.
    result.plate = platePicture(engraver->plate(), request.fieldView);
    result.picture = QRect(request.offset, request.dots->bitmap.size());
    result.estimate = started.estimate;
    const qint64 endMs = clock.monotonicMs();
    // cppcheck-suppress duplicateExpression ; the run has moved the virtual clock on
    result.modelled = (endMs - startMs) * kTimeUnitsPerMillisecond;
    result.planLines = built.lines;
    result.strikes = qint64(engraver->plate().strikes().size());
    result.secondPass = request.choices.secondPass;
    return result;
}

void previewClick(Program& program) {
    // Nothing may change the picture or the properties while the preview reads them.
    enterWorkState(program);
    program.screen.setCursor(CursorShape::Busy);
    const std::optional<JobPreview> preview = previewJob(program);
    program.screen.setCursor(CursorShape::Default);
    enterIdleState(program);
    if (preview)
        program.screen.showJobPreview(*preview);
}

} // namespace zuk
