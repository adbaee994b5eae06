#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>

namespace zuk {

class ImagePreparation;
struct Placement;

// The head's travel in dots of the resolution: Image1's size (the stored field plus its
// 10-pixel strip) measured in dots of resolution r, 16 + r device units each, the field the
// placement offsets are computed on. Also for the density dialog's odd choices -1 and 9,
// whose 16 + r the motors are given as well; empty for any other resolution.
QSize workingFieldInDots(QSize image1Size, int resolution);
// The same for the main window's field at the resolution of the picture's placement: the
// head's travel the placement check, the manual movement and the run keep to.
QSize workingFieldInDots(const ImagePreparation& image);

// Whether the head can be sent to the point: column 0 .. field width, row 0 .. field height.
bool pointInField(QPoint point, QSize fieldDots);
// The same for a cell of any size (a plan line may name one far beyond 32 bits' reach).
bool pointInField(qint64 column, qint64 row, QSize fieldDots);

// Nothing when the placed picture lies wholly on the field, else the message that tells the
// operator why the job cannot start. The run adds the placement offsets to every plan
// coordinate, so a picture that leaves the field would drive the head past its travel.
std::optional<QString> placementFitsField(const Placement& placement, QSize fieldDots);
// The same for the picture as it is placed now on the main window's field.
std::optional<QString> placementFitsField(const ImagePreparation& image);

} // namespace zuk
