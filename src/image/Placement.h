#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace zuk {

// The resolution list of the placement dialog: nine densities and an empty tenth line.
QStringList resolutionItems();
// The text of a line of the list; empty for the tenth line and for no line at all (-1).
QString resolutionItemText(int line);

// The window caption after a picture was opened: the density chosen and the file.
QString pictureCaption(int resolutionLine, const QString& fileName);
// The caption put up as soon as a picture file has been read.
QString openingCaption();

// The placement marks: where on the working field the picture sits, one per direction.
enum class HorizontalMark { Left = 0, Centre = 1, Right = 2 };
enum class VerticalMark { Top = 0, Centre = 1, Bottom = 2 };
struct PlacementMarks {
    HorizontalMark horizontal = HorizontalMark::Centre;
    VerticalMark vertical = VerticalMark::Centre;
    bool operator==(const PlacementMarks&) const = default;
};
// The marks set by placement button 1..9 (left to right, top to bottom).
PlacementMarks marksOfButton(int button);

// The working field measured in dots of resolution r; 0 for a resolution outside 0..8.
int fieldInDots(int fieldPixels, int resolution);

// The field position of the picture's top-left dot for the marks (may be negative when the
// picture is larger than the field). `field` is the working field in view pixels: the size of
// the view, the stored field size plus its 10-pixel strip (FieldView::workingField()).
QPoint placementOffsets(QSize field, int resolution, PlacementMarks marks, QSize picture);

// The nine handle points of the placement frame, row by row from the top-left corner.
using HandlePoints = std::array<QPoint, 9>;
HandlePoints handlePoints(QPoint origin, QSize size);

// The first handle (1..9) strictly within 10 pixels of the mouse in both directions, else 0.
int hitHandle(const HandlePoints& handles, QPoint mouse);

// Density and placement of the picture on the working field.
struct Placement {
    PlacementMarks marks;
    QPoint offset;      // column and row offset of the picture on the field (OX, OY)
    QPoint frameOrigin; // origin of the placement frame, moved by dragging (MX, MY)
    QSize frameSize;    // the picture's width and height
    HandlePoints handles{};
    // Set while the operator drags the frame: the offsets then stay as the drag left them.
    bool placementChanged = false;

    // Recomputes the offsets and the frame for the picture on the field at the density line
    // `resolution`, unless the frame is being dragged. A saved placement (the one of an
    // unfinished job) overrides the marks.
    void place(QSize field, int resolution, QSize picture, std::optional<QPoint> savedPlacement);
    // The handle points from the frame's current origin and size.
    void updateHandles() { handles = handlePoints(frameOrigin, frameSize); }
};

} // namespace zuk
