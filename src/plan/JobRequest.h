#pragma once

#include "plan/EngravingChoices.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>

namespace zuk {

class Program;
struct DotImage;

// A job as it is asked for: the dots to engrave, where they lie on the working field and the
// engraving choices. "Работа", the preview and zuk-batch ask for the job the operator has
// prepared (preparedJob); the job start turns a request into the program's Job, which is all
// the run reads.
struct JobRequest {
    // The dots the plan is built from (the build leaves them as they were); nothing for a job
    // whose plan is written already.
    DotImage* dots = nullptr;
    // The picture file's name, as the recovery file records it.
    QString pictureFile;
    // The working-field cell (column, row) of the picture's top-left dot: the placement offsets
    // the run adds to every plan position.
    QPoint offset;
    // The working-field view in pixels (the stored field and its strip): with the density line
    // it gives the field in dots that the picture and the head keep to.
    QSize fieldView;
    EngravingChoices choices;

    // The working field in dots at the request's density line.
    QSize fieldDots() const;
};

// The job the operator has prepared: the picture the program holds as it is placed on the
// working field, and the program's engraving choices.
JobRequest preparedJob(Program& program);

// Why the request cannot become a job (no picture, or one that lies off the field), with the
// message the operator is shown; nothing when it can.
std::optional<QString> jobRefusal(const JobRequest& request);

// What the operator is told when there is no picture to engrave.
QString noPictureMessage();

} // namespace zuk
