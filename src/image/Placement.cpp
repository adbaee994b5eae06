#include "image/Placement.h"

#include "app/Settings.h"

namespace zuk {
namespace {

// A handle is hit strictly within this many pixels in both directions.
constexpr int kHandleReach = 10;

int alongAxis(int mark, int fieldDots, int pictureDots) {
    switch (mark) {
    case 0:
        return 0;
    case 1:
        return fieldDots / 2 - pictureDots / 2;
    default:
        return fieldDots - pictureDots;
    }
}

} // namespace

QStringList resolutionItems() {
    return {
        QStringLiteral("101.6  dpi  =  40.0 т/см"),  QStringLiteral("  95.6  dpi  =  37.6 т/см"),
        QStringLiteral("  90.3  dpi  =  35.6 т/см"), QStringLiteral("  85.6  dpi  =  33.7 т/см"),
        QStringLiteral("  81.3  dpi  =  32.0 т/см"), QStringLiteral("  77.4  dpi  =  30.5 т/см"),
        QStringLiteral("  73.9  dpi  =  29.1 т/см"), QStringLiteral("  70.7  dpi  =  27.8 т/см"),
        QStringLiteral("  67.7  dpi  =  26.7 т/см"), QString(),
    };
}

QString resolutionItemText(int line) {
    const QStringList items = resolutionItems();
    return line >= 0 && line < items.size() ? items[line] : QString();
}

QString openingCaption() {
    return QStringLiteral("ZUK-5.5 ");
}

QString pictureCaption(int resolutionLine, const QString& fileName) {
    return openingCaption() + resolutionItemText(resolutionLine) + QStringLiteral("    (") +
           fileName + QStringLiteral(")");
}

PlacementMarks marksOfButton(int button) {
    const int index = button - 1;
    return {static_cast<HorizontalMark>(index % 3), static_cast<VerticalMark>(index / 3)};
}

int fieldInDots(int fieldPixels, int resolution) {
    if (resolution < 0 || resolution >= kResolutionIndexCount)
        return 0;
    return static_cast<int>(qint64(fieldPixels) * 16 / (16 + resolution));
}

QPoint placementOffsets(QSize field, int resolution, PlacementMarks marks, QSize picture) {
    return {alongAxis(static_cast<int>(marks.horizontal), fieldInDots(field.width(), resolution),
                      picture.width()),
            alongAxis(static_cast<int>(marks.vertical), fieldInDots(field.height(), resolution),
                      picture.height())};
}

HandlePoints handlePoints(QPoint origin, QSize size) {
    HandlePoints points{};
    const int xs[] = {0, size.width() / 2, size.width()};
    const int ys[] = {0, size.height() / 2, size.height()};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            points[3 * row + col] = origin + QPoint(xs[col], ys[row]);
    return points;
}

int hitHandle(const HandlePoints& handles, QPoint mouse) {
    for (int k = 0; k < int(handles.size()); ++k) {
        const QPoint d = mouse - handles[k];
        if (d.x() > -kHandleReach && d.x() < kHandleReach && d.y() > -kHandleReach &&
            d.y() < kHandleReach)
            return k + 1;
    }
    return 0;
}

void Placement::place(QSize field, int resolution, QSize picture,
                      std::optional<QPoint> savedPlacement) {
    if (!placementChanged) {
        offset =
            savedPlacement ? *savedPlacement : placementOffsets(field, resolution, marks, picture);
        frameOrigin = offset;
        frameSize = picture;
    }
    updateHandles();
}

} // namespace zuk
