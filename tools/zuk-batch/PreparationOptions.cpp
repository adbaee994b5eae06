#include "PreparationOptions.h"

namespace zuk::batch {

const char* const kPreparationUsage =
    "[--crop X,Y,W,H] [--rotate 90|180|270] [--mirror h|v] [--width W] [--height H] "
    "[--gray red|luma] [--brightness B] [--contrast C] [--gamma G] [--invert] "
    "[--sharpen AMOUNT[,RADIUS]]";
const char* const kPreparationDetails =
    "Picture preparation (\"Подготовка рисунка\"), applied in this order to every picture:\n"
    "  --crop X,Y,W,H         keep this rectangle, in the picture's own pixels\n"
    "  --rotate 90|180|270    turn clockwise\n"
    "  --mirror h|v           mirror left-right (h) or top-bottom (v); repeatable\n"
    "  --width W, --height H  the size in dots; one alone keeps the other in proportion\n"
    "  --gray red|luma        gray from the red channel (default) or the luminance\n"
    "  --brightness B         -100..100, added to every gray\n"
    "  --contrast C           -100..100, around the middle gray\n"
    "  --gamma G              0.2..5, above 1 lightens the middle grays\n"
    "  --invert               the negative\n"
    "  --sharpen AMOUNT[,RADIUS]  unsharp mask, AMOUNT 0..5, RADIUS 0.5..10 dots (default 1)\n"
    "Pictures are read from BMP, PNG, JPEG, TIFF, GIF and WebP files.\n";

bool preparationOption(ArgumentReader& reader, PreparationChoices& choices, QStringList* given) {
    if (reader.flag(kPreparationFlagName)) {
        choices.invert = true;
        if (given)
            *given << QLatin1String(kPreparationFlagName);
        return true;
    }
    for (const char* name : kPreparationChoiceNames) {
        QString value;
        if (!reader.option(name, value))
            continue;
        if (reader.failed()) // the value was missing
            return true;
        if (const auto mistake = setPreparationChoice(choices, QLatin1String(name), value))
            reader.mistake(QStringLiteral("--") + *mistake);
        else if (given)
            *given << QLatin1String(name) + QLatin1Char('=') + value;
        return true;
    }
    return false;
}

} // namespace zuk::batch
