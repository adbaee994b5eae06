#include "FrameCommand.h"

#include "JobChoices.h"
#include "JobPlace.h"
#include "PreparationOptions.h"

#include "service/FrameTrace.h"

#include <optional>
#include <string>

namespace zuk::batch {

namespace {

struct FrameRequest {
    JobPlace place;
    JobChoices job;
};

// Takes one of the picture's options: placement, density and preparation.
bool pictureOption(ArgumentReader& reader, JobChoices& job) {
    QString value;
    if (reader.option("place", value))
        job.placementButton = numberIn(value, "place", 1, 9, reader).value_or(0);
    else if (reader.option("density", value))
        job.density = numberIn(value, "density", 0, kResolutionIndexCount - 1, reader);
    else
        return preparationOption(reader, job.preparation);
    return true;
}

std::optional<FrameRequest> parseFrame(const QStringList& args, QTextStream& err) {
    FrameRequest request;
    QStringList pictures;
    ArgumentReader reader(args, "frame", err);
    while (!reader.atEnd() && !reader.failed()) {
        if (!placeOption(reader, request.place) && !pictureOption(reader, request.job) &&
            !reader.unknownOption())
            pictures << reader.plain();
    }
    finishJobChoices(reader, request.job, pictures);
    checkPlace(request.place, reader);
    if (reader.failed())
        return std::nullopt;
    return request;
}

void printCorners(const Program& program, QTextStream& out) {
    const char* const names[] = {"top-left", "top-right", "bottom-right", "bottom-left",
                                 "top-left"};
    const auto corners =
        FrameTrace::cornersOf(program.image.placement().offset, program.image.dotImage().size());
    out << "frame:";
    for (std::size_t k = 0; k < corners.size(); ++k)
        out << ' ' << names[k] << " (" << corners[k].x() << ", " << corners[k].y() << "),";
    out << " then home, the needle raised all along" << Qt::endl;
}

} // namespace

const char* frameUsage() {
    static const std::string usage =
        std::string("frame PICTURE --port PORT [--dir DIR] [--density 0..8] [--place 1..9] ") +
        kPreparationUsage + " [--virtual-time | --sim-speed N]";
    return usage.c_str();
}

const char* const kFrameDetails =
    "The start-up in the program directory DIR (default: the current one; Zuk.ini there, with\n"
    "PORT in place of its port for this run only), \"Открыть\" with the density line (default:\n"
    "Zuk.ini's), the placement button (default 5, \"Center Center\") and the preparation, then\n"
    "\"Обвести рамку\": \"Up\", and the head to the picture's corner dots top-left, top-right,\n"
    "bottom-right, bottom-left and top-left again, a moment at each, then home. Nothing is\n"
    "struck. A picture that does not lie wholly on the field is refused as the job start\n"
    "refuses it. --virtual-time and --sim-speed as for engrave.\n"
    "Exit status: 0 the frame was traced, 1 an error or a refusal, 2 bad usage.";

int runFrame(const QStringList& args, Streams streams) {
    const auto request = parseFrame(args, streams.err);
    if (!request)
        return kExitUsage;
    if (!jobFilesExist(request->place.directory, request->job, "frame", streams.err))
        return kExitFailed;
    BatchJob batch(request->place.directory, request->place.line, streams);
    const bool traced =
        batch.startUp() && prepareJob(batch, request->job) && batch.program().frame.trace();
    if (traced)
        printCorners(batch.program(), streams.out);
    batch.shutDown();
    return traced ? kExitOk : kExitFailed;
}

} // namespace zuk::batch
