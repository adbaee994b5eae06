#pragma once

#include "image/PreparationChoices.h"

#include <QImage>
#include <QString>

#include <array>
#include <optional>

namespace zuk {

// The preparation of a picture before its conversion into dots, in the fixed order of
// PreparationChoices: crop, rotate, mirror, size, then gray, tone, sharpen. The conversion reads
// a picture's red channel as its gray, so a prepared picture that carries grays (luminance, a
// tone, sharpening) is an 8-bit gray picture, whose red channel is that gray; without them the
// colours stay as they are and the conversion reads their red channel as always.

// The tone curve of the choices, gray by gray: v = g/255; v + brightness/100; around 1/2
// stretched by (100 + contrast)/(100 − contrast) (contrast 100: below 1/2 black, above it white);
// held to 0..1; v^(1/gamma); 1 − v when inverted; rounded to a gray 0..255. A choice at its
// default leaves that step out, so the curve with none of them gives every gray back.
std::array<quint8, 256> toneCurve(const PreparationChoices& choices);

// The luminance of a colour: (299 R + 587 G + 114 B + 500) div 1000.
int lumaOf(QRgb colour);

// Crop, rotate, mirror and size: the picture as large and as turned as it is placed, in its
// colours. The picture itself when the choices change none of it.
QImage reshapedPicture(const QImage& source, const PreparationChoices& choices);

// Gray, tone and sharpen on a reshaped picture: an 8-bit gray picture, or the picture itself
// when the choices change none of its grays. It is tonedAndSharpened(grayOfPicture(…)).
QImage shadedPicture(const QImage& picture, const PreparationChoices& choices);
// The gray of every pixel, from the red channel or the luminance: an 8-bit gray picture.
QImage grayOfPicture(const QImage& picture, GraySource gray);
// Tone and sharpen on an 8-bit gray picture.
QImage tonedAndSharpened(const QImage& gray, const PreparationChoices& choices);

// The whole preparation, or why it cannot be made for this picture (preparationProblem).
struct PreparedPicture {
    QImage image;
    std::optional<QString> problem;
};
// Throws std::bad_alloc when there is no room for the prepared picture.
PreparedPicture preparePicture(const QImage& source, const PreparationChoices& choices);

// The operator's message for a picture file whose preparation cannot be made.
QString preparationRefusal(const QString& path, const QString& problem);

} // namespace zuk
