#include "PreviewCommand.h"

#include "BatchJob.h"
#include "JobChoices.h"

#include "app/CountText.h"
#include "plan/TimeEstimate.h"
#include "run/Preview.h"
#include "simulator/Reports.h"

#include <QDir>
#include <QFileInfo>

#include <optional>
#include <string>

namespace zuk::batch {

namespace {

const char* const kPreviewIntroduction =
    "Prepares the job as engrave does (the start-up in the program directory DIR, default the\n"
    "current one, \"Открыть\" and \"Гравировка\" with the choices) and runs it as\n"
    "\"Предпросмотр\" does: the plan and the whole job, both passes when chosen, on a\n"
    "simulated engraver of its own on virtual time. No byte goes to the port Zuk.ini names\n"
    "and the files of DIR stay as they were (a DIR without Zuk.ini gets one with the\n"
    "defaults, as at every start of the program). Prints the estimate and the modelled time and\n"
    "writes the plate, one pixel per cell of the working field in the shade of the highest\n"
    "level struck there (black: none), to PLATE.png.\n";
const char* const kPreviewExit = "Exit status: 0 the plate was written, 1 an error, 2 bad usage.";

struct PreviewRequest {
    QString directory = QDir::currentPath();
    JobChoices job;
    QString out;
};

std::optional<PreviewRequest> parsePreview(const QStringList& args, QTextStream& err) {
    PreviewRequest request;
    QStringList pictures;
    ArgumentReader reader(args, "preview", err);
    while (!reader.atEnd() && !reader.failed()) {
        QString value;
        if (reader.option("dir", value))
            request.directory = value;
        else if (reader.option("out", value))
            request.out = value;
        else
            jobChoiceOption(reader, request.job, pictures);
    }
    finishJobChoices(reader, request.job, pictures);
    if (!reader.failed() && request.out.isEmpty())
        reader.mistake(QStringLiteral("--out PLATE.png is required"));
    if (reader.failed())
        return std::nullopt;
    request.out = QFileInfo(request.out).absoluteFilePath();
    return request;
}

QString signedPercent(qint64 value, qint64 reference) {
    if (reference <= 0)
        return QString();
    const double percent = 100.0 * double(value - reference) / double(reference);
    return QStringLiteral(" (%1%2 % against the estimate)")
        .arg(percent >= 0 ? QStringLiteral("+") : QString())
        .arg(percent, 0, 'f', 1);
}

void printPreview(const JobPreview& preview, const QString& out, QTextStream& stream) {
    stream << "plan: " << countText(preview.planLines) << " lines"
           << (preview.secondPass ? ", run in both passes" : "") << Qt::endl;
    stream << "estimate: " << durationText(preview.estimate, QLocale::c()) << " (T "
           << preview.estimate << " in 10-µs units)" << Qt::endl;
    stream << "modelled: " << durationText(preview.modelled, QLocale::c())
           << " on the simulated engraver" << signedPercent(preview.modelled, preview.estimate)
           << Qt::endl;
    stream << "strikes: " << countText(preview.strikes) << Qt::endl;
    stream << "plate: " << QDir::toNativeSeparators(out) << " (" << preview.plate.width() << " x "
           << preview.plate.height() << " cells)" << Qt::endl;
}

} // namespace

const char* previewUsage() {
    static const std::string usage =
        std::string("preview PICTURE --out PLATE.png [--dir DIR] ") + jobChoicesUsage();
    return usage.c_str();
}

const char* previewDetails() {
    static const std::string details =
        std::string(kPreviewIntroduction) + jobChoicesDetails() + kPreviewExit;
    return details.c_str();
}

int runPreview(const QStringList& args, Streams streams) {
    const auto request = parsePreview(args, streams.err);
    if (!request)
        return kExitUsage;
    if (!jobFilesExist(request->directory, request->job, "preview", streams.err))
        return kExitFailed;
    // The program's own start-up talks to a stand-in engraver on virtual time, never to the
    // port Zuk.ini names; it is not shut down, so Zuk.ini is not written either.
    BatchJob batch(request->directory, LineChoice{QStringLiteral("sim"), true, 1.0}, streams);
    if (!batch.startUp())
        return kExitFailed;
    if (!prepareJob(batch, request->job))
        return kExitFailed; // the open has told why
    const std::optional<JobPreview> preview = previewJob(batch.program());
    if (!preview)
        return kExitFailed; // the preview has told why
    QString error;
    if (!sim::writePng(preview->plate, request->out, &error)) {
        streams.err << "zuk-batch preview: " << error << Qt::endl;
        return kExitFailed;
    }
    printPreview(*preview, request->out, streams.out);
    return kExitOk;
}

} // namespace zuk::batch
