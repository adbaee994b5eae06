#include "image/PreparationChoices.h"

#include "image/Picture.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace zuk {
namespace {

// The part of the picture the crop keeps (the whole picture without a crop); empty when the
// crop lies wholly outside it.
QRect keptArea(QSize source, const PreparationChoices& choices) {
    const QRect whole(QPoint(0, 0), source);
    return choices.crop ? choices.crop->intersected(whole) : whole;
}

// The prepared size in whole numbers wide enough for any choice, before the limits are checked.
struct Extent {
    qint64 width = 0;
    qint64 height = 0;
};

qint64 inProportion(qint64 side, qint64 chosen, qint64 otherSide) {
    if (otherSide <= 0)
        return 0;
    return std::max<qint64>(1, std::llround(double(side) * double(chosen) / double(otherSide)));
}

Extent preparedExtent(QSize source, const PreparationChoices& choices) {
    QSize kept = keptArea(source, choices).size();
    if (choices.rotation == 90 || choices.rotation == 270)
        kept.transpose();
    if (kept.isEmpty())
        return {};
    if (choices.width > 0 && choices.height > 0)
        return {choices.width, choices.height};
    if (choices.width > 0)
        return {choices.width, inProportion(kept.height(), choices.width, kept.width())};
    if (choices.height > 0)
        return {inProportion(kept.width(), choices.height, kept.height()), choices.height};
    return {kept.width(), kept.height()};
}

QString rangeMistake(const QString& name, const QString& range, const QString& value) {
    return QStringLiteral("%1 takes %2, not \"%3\"").arg(name, range, value);
}

std::optional<int> wholeNumber(const QString& value, int lowest, int highest) {
    bool ok = false;
    const int number = value.trimmed().toInt(&ok);
    if (!ok || number < lowest || number > highest)
        return std::nullopt;
    return number;
}

std::optional<double> realNumber(const QString& value, double lowest, double highest) {
    bool ok = false;
    const double number = value.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number) || number < lowest || number > highest)
        return std::nullopt;
    return number;
}

std::optional<QRect> cropNamed(const QString& value) {
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    int numbers[4] = {};
    for (int k = 0; k < 4; ++k) {
        const auto number = wholeNumber(parts[k], k < 2 ? 0 : 1, kMaxPictureSide);
        if (!number)
            return std::nullopt;
        numbers[k] = *number;
    }
    return QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

bool setSharpening(PreparationChoices& choices, const QString& value) {
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() > 2)
        return false;
    const auto amount = realNumber(parts[0], 0, PreparationChoices::kHighestSharpenAmount);
    const auto radius = parts.size() == 2
                            ? realNumber(parts[1], PreparationChoices::kLowestSharpenRadius,
                                         PreparationChoices::kHighestSharpenRadius)
                            : std::optional<double>(1.0);
    if (!amount || !radius)
        return false;
    choices.sharpenAmount = *amount;
    choices.sharpenRadius = *radius;
    return true;
}

bool setMirror(PreparationChoices& choices, const QString& value) {
    if (value == QLatin1String("h"))
        choices.mirrorLeftRight = !choices.mirrorLeftRight;
    else if (value == QLatin1String("v"))
        choices.mirrorTopBottom = !choices.mirrorTopBottom;
    else
        return false;
    return true;
}

bool setGray(PreparationChoices& choices, const QString& value) {
    if (value == QLatin1String("red"))
        choices.gray = GraySource::Red;
    else if (value == QLatin1String("luma"))
        choices.gray = GraySource::Luma;
    else
        return false;
    return true;
}

// Sets a whole-number choice; false when the value is out of its range.
bool setWhole(int& choice, const QString& value, int lowest, int highest) {
    const auto number = wholeNumber(value, lowest, highest);
    if (number)
        choice = *number;
    return number.has_value();
}

// What a choice takes, for the reason given when its value is refused.
QString rangeOf(const QString& name) {
    static const std::pair<const char*, const char*> kRanges[] = {
        {"width", "a whole number from 0 to 32767"},
        {"height", "a whole number from 0 to 32767"},
        {"rotate", "0, 90, 180 or 270"},
        {"mirror", "h or v"},
        {"crop", "X,Y,W,H (whole numbers, W and H at least 1)"},
        {"brightness", "a whole number from -100 to 100"},
        {"contrast", "a whole number from -100 to 100"},
        {"gamma", "a number from 0.2 to 5"},
        {"gray", "red or luma"},
        {"sharpen", "AMOUNT[,RADIUS] (AMOUNT 0..5, RADIUS 0.5..10)"},
    };
    for (const auto& [known, range] : kRanges)
        if (name == QLatin1String(known))
            return QString::fromLatin1(range);
    return {};
}

bool setValue(PreparationChoices& choices, const QString& name, const QString& value) {
    const int tone = PreparationChoices::kToneLimit;
    if (name == QLatin1String("width"))
        return setWhole(choices.width, value, 0, kMaxPictureSide);
    if (name == QLatin1String("height"))
        return setWhole(choices.height, value, 0, kMaxPictureSide);
    if (name == QLatin1String("rotate")) {
        const auto angle = wholeNumber(value, 0, 270);
        if (!angle || *angle % 90 != 0)
            return false;
        choices.rotation = *angle;
        return true;
    }
    if (name == QLatin1String("mirror"))
        return setMirror(choices, value);
    if (name == QLatin1String("crop")) {
        choices.crop = cropNamed(value);
        return choices.crop.has_value();
    }
    if (name == QLatin1String("brightness"))
        return setWhole(choices.brightness, value, -tone, tone);
    if (name == QLatin1String("contrast"))
        return setWhole(choices.contrast, value, -tone, tone);
    if (name == QLatin1String("gamma")) {
        const auto gamma =
            realNumber(value, PreparationChoices::kLowestGamma, PreparationChoices::kHighestGamma);
        choices.gamma = gamma.value_or(choices.gamma);
        return gamma.has_value();
    }
    if (name == QLatin1String("gray"))
        return setGray(choices, value);
    return setSharpening(choices, value);
}

QString real(double value) {
    return QString::number(value, 'g', 6);
}

} // namespace

bool PreparationChoices::reshapes() const {
    return crop || rotation != 0 || mirrorLeftRight || mirrorTopBottom || width > 0 || height > 0;
}

bool PreparationChoices::shades() const {
    return gray != GraySource::Red || brightness != 0 || contrast != 0 || gamma != 1.0 || invert ||
           sharpenAmount > 0;
}

QSize preparedSize(QSize source, const PreparationChoices& choices) {
    const Extent extent = preparedExtent(source, choices);
    const auto side = [](qint64 length) {
        return int(std::min<qint64>(length, std::numeric_limits<int>::max()));
    };
    return {side(extent.width), side(extent.height)};
}

std::optional<QString> preparationProblem(QSize source, const PreparationChoices& choices) {
    if (choices.crop && keptArea(source, choices).isEmpty()) {
        const QRect crop = *choices.crop;
        return QStringLiteral("область обрезки %1,%2,%3,%4 лежит вне рисунка %5 × %6 точек")
            .arg(crop.x())
            .arg(crop.y())
            .arg(crop.width())
            .arg(crop.height())
            .arg(source.width())
            .arg(source.height());
    }
    const Extent extent = preparedExtent(source, choices);
    return pictureSizeProblem(extent.width, extent.height);
}

std::optional<QString> setPreparationChoice(PreparationChoices& choices, const QString& name,
                                            const QString& value) {
    if (name == QLatin1String(kPreparationFlagName)) {
        if (!value.isEmpty())
            return QStringLiteral("invert takes no value");
        choices.invert = true;
        return std::nullopt;
    }
    const QString range = rangeOf(name);
    if (range.isEmpty())
        return QStringLiteral("unknown preparation choice \"%1\"").arg(name);
    if (!setValue(choices, name, value))
        return rangeMistake(name, range, value);
    return std::nullopt;
}

std::optional<QString> setPreparationLine(PreparationChoices& choices, const QString& line) {
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    const QString name = equals < 0 ? line : line.left(equals);
    const QString value = equals < 0 ? QString() : line.mid(equals + 1);
    return setPreparationChoice(choices, name, value);
}

QStringList preparationChoiceLines(const PreparationChoices& choices) {
    QStringList lines;
    const auto add = [&lines](const char* name, const QString& value) {
        lines << QLatin1String(name) + QLatin1Char('=') + value;
    };
    if (const auto& crop = choices.crop)
        add("crop", QStringLiteral("%1,%2,%3,%4")
                        .arg(crop->x())
                        .arg(crop->y())
                        .arg(crop->width())
                        .arg(crop->height()));
    if (choices.rotation != 0)
        add("rotate", QString::number(choices.rotation));
    if (choices.mirrorLeftRight)
        add("mirror", QStringLiteral("h"));
    if (choices.mirrorTopBottom)
        add("mirror", QStringLiteral("v"));
    if (choices.width > 0)
        add("width", QString::number(choices.width));
    if (choices.height > 0)
        add("height", QString::number(choices.height));
    if (choices.gray == GraySource::Luma)
        add("gray", QStringLiteral("luma"));
    if (choices.brightness != 0)
        add("brightness", QString::number(choices.brightness));
    if (choices.contrast != 0)
        add("contrast", QString::number(choices.contrast));
    if (choices.gamma != 1.0)
        add("gamma", real(choices.gamma));
    if (choices.invert)
        lines << QLatin1String(kPreparationFlagName);
    if (choices.sharpenAmount > 0 || choices.sharpenRadius != 1.0)
        add("sharpen",
            real(choices.sharpenAmount) + QLatin1Char(',') + real(choices.sharpenRadius));
    return lines;
}

} // namespace zuk
