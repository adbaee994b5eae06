#include "plan/JobRequest.h"

#include "app/Program.h"
#include "service/FieldBounds.h"

namespace zuk {

QSize JobRequest::fieldDots() const {
    return workingFieldInDots(fieldView, choices.resolutionIndex);
}

JobRequest preparedJob(Program& program) {
    JobRequest request;
    request.dots = &program.image.dotImage();
    request.pictureFile = program.image.picture().fileName;
    request.offset = program.image.placement().offset;
    request.fieldView = program.image.view().image().size();
    request.choices = program.choices;
    return request;
}

QString noPictureMessage() {
    return QStringLiteral("Нет рисунка для гравирования. Откройте рисунок: \"Файл\" → "
                          "\"Открыть\".");
}

std::optional<QString> jobRefusal(const JobRequest& request) {
    if (!request.dots || request.dots->empty())
        return noPictureMessage();
    return placementFitsField(request.offset, request.dots->size(), request.fieldDots());
}

} // namespace zuk
