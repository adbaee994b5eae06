#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace zuk {

// How a colour becomes gray: the red channel, as the conversion has always read a picture, or
// the luminance (0.299 R + 0.587 G + 0.114 B).
enum class GraySource { Red, Luma };

// The operator's preparation of a picture before it is converted into dots: what "Подготовка
// рисунка" shows and zuk-batch takes as options. Applied in this fixed order: crop, rotate,
// mirror, size, gray, tone (brightness, contrast, gamma, invert), sharpen. Every choice left
// at its default changes nothing, and with all of them so the picture passes through
// untouched.
struct PreparationChoices {
    static constexpr int kToneLimit = 100; // brightness and contrast: -100..100
    static constexpr double kLowestGamma = 0.2;
    static constexpr double kHighestGamma = 5.0;
    static constexpr double kHighestSharpenAmount = 5.0;
    static constexpr double kLowestSharpenRadius = 0.5;
    static constexpr double kHighestSharpenRadius = 10.0;

    // In the picture's own pixels, applied first; the part outside the picture is dropped.
    std::optional<QRect> crop;
    // Clockwise: 0, 90, 180 or 270.
    int rotation = 0;
    bool mirrorLeftRight = false;
    bool mirrorTopBottom = false;
    // The size in dots; 0 keeps the side in proportion to the other one, or the picture's own
    // when both are 0.
    int width = 0;
    int height = 0;
    GraySource gray = GraySource::Red;
    int brightness = 0; // added: 100 makes every gray white, -100 black
    int contrast = 0;   // around the middle gray: 100 a threshold, -100 a flat middle gray
    double gamma = 1.0; // gray g becomes 255·(g/255)^(1/gamma): above 1 lightens
    bool invert = false;
    // Unsharp mask: the difference from a Gaussian blur of this radius (its standard
    // deviation, in dots) added `sharpenAmount` times; 0 leaves the picture alone.
    double sharpenAmount = 0;
    double sharpenRadius = 1;

    bool operator==(const PreparationChoices&) const = default;

    // Whether the steps change the picture's size and orientation, or its grays.
    bool reshapes() const;
    bool shades() const;
};

// The size the prepared picture has, for a picture of `source` pixels.
QSize preparedSize(QSize source, const PreparationChoices& choices);

// Why the choices cannot prepare a picture of `source` pixels (a crop wholly outside it, a
// result beyond the picture limits), in the operator's words; nothing when they can.
std::optional<QString> preparationProblem(QSize source, const PreparationChoices& choices);

// The choices by name, as zuk-batch takes them ("--width 800", "--invert") and the remembered
// preparation keeps them ("width=800", "invert"):
//   width, height: dots, 0..32767         rotate: 0, 90, 180, 270 (clockwise)
//   mirror: h (left-right) or v (top-bottom), each naming turns that mirror on or off again
//   crop: X,Y,W,H in the picture's pixels  brightness, contrast: -100..100
//   gamma: 0.2..5                         invert: no value
//   gray: red or luma                     sharpen: AMOUNT[,RADIUS], 0..5 and 0.5..10 (default 1)
inline constexpr const char* kPreparationChoiceNames[] = {
    "width",      "height",   "rotate", "mirror", "crop",
    "brightness", "contrast", "gamma",  "gray",   "sharpen"};
inline constexpr const char* kPreparationFlagName = "invert";

// Sets the choice `name` from its text; the reason (in English, for the tool's usage line) when
// the name is unknown or the value out of range. The flag takes an empty value.
std::optional<QString> setPreparationChoice(PreparationChoices& choices, const QString& name,
                                            const QString& value);

// Sets one choice from its line as preparationChoiceLines writes it ("name=value" or the bare
// flag name); the reason when it is no choice.
std::optional<QString> setPreparationLine(PreparationChoices& choices, const QString& line);

// The choices that differ from the defaults as "name=value" lines (the flag alone), in the
// order of the steps; reading them back with setPreparationChoice gives the same choices.
QStringList preparationChoiceLines(const PreparationChoices& choices);

} // namespace zuk
