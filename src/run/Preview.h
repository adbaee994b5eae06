#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

#include <optional>

namespace zuk {

class Program;

namespace sim {
class Plate;
}

// What the job would do, found by engraving it on a simulated engraver.
struct JobPreview {
    // The working field as the needle leaves it, one pixel per cell laid out as the
    // working-field view, border included (pixel (c - 1, r - 1) is cell (r, c)): black where
    // nothing is struck,
    // else the shade of the highest level struck there, as zuk-devsim's plate picture.
    QImage plate;
    // Where the picture lies on the plate, as placed on the working-field view.
    QRect picture;
    // The job start's estimate of both passes, in 10-µs units.
    qint64 estimate = 0;
    // The time the job took on the simulated engraver from "Работа" to its end, in 10-µs
    // units.
    qint64 modelled = 0;
    // Lines of the plan (each pass runs as many) and dots struck in all passes.
    qint64 planLines = 0;
    qint64 strikes = 0;
    bool secondPass = false;
};

// Runs the job the operator has prepared (the picture as placed, the engraving properties as
// chosen, both passes when the second pass is chosen) as "Работа" would, on a simulated
// engraver of its own on virtual time: the job start's refusals and plan builder, then the
// job start and the run of a program of its own in a scratch directory. The program
// directory's files and the device on the configured port are not touched; the program's
// state is as before. Nothing when the job cannot start or the run did not end normally:
// the operator has been told why.
std::optional<JobPreview> previewJob(Program& program);

// "Работа" → "Предпросмотр": the window is locked while the preview runs, then the preview
// dialog shows the plate and the two times.
void previewClick(Program& program);

// The plate of a simulated engraver on a field of `field` cells, laid out as JobPreview's.
QImage platePicture(const sim::Plate& plate, QSize field);

} // namespace zuk
