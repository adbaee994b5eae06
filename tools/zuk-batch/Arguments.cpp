#include "Arguments.h"

#include "image/Conversion.h"
#include "image/Picture.h"
#include "image/PicturePreparation.h"

namespace zuk::batch {

bool ArgumentReader::option(const char* name, QString& value) {
    if (atEnd())
        return false;
    const QString& arg = args_[next_];
    const QString flag = QStringLiteral("--") + QLatin1String(name);
    if (arg.startsWith(flag + QLatin1Char('='))) {
        value = arg.mid(flag.size() + 1);
        ++next_;
        return true;
    }
    if (arg != flag)
        return false;
    ++next_;
    if (atEnd())
        mistake(flag + QStringLiteral(" needs a value"));
    else
        value = args_[next_++];
    return true;
}

bool ArgumentReader::flag(const char* name) {
    if (atEnd() || args_[next_] != QStringLiteral("--") + QLatin1String(name))
        return false;
    ++next_;
    return true;
}

bool ArgumentReader::unknownOption() {
    if (atEnd() || !args_[next_].startsWith(QLatin1String("--")))
        return false;
    mistake(QStringLiteral("unknown option ") + args_[next_++]);
    return true;
}

bool ArgumentReader::mistake(const QString& text) {
    if (!failed_)
        err_ << "zuk-batch " << command_ << ": " << text << '\n';
    failed_ = true;
    return false;
}

std::optional<ConversionVariant> variantNamed(const QString& name, ArgumentReader& reader) {
    if (name == QLatin1String("combined"))
        return ConversionVariant::Combined;
    if (name == QLatin1String("simple"))
        return ConversionVariant::Simple;
    reader.mistake(QStringLiteral("unknown variant \"%1\" (use combined or simple)").arg(name));
    return std::nullopt;
}

std::optional<bool> singleSidedNamed(const QString& name, ArgumentReader& reader) {
    if (name == QLatin1String("double"))
        return false;
    if (name == QLatin1String("single"))
        return true;
    reader.mistake(QStringLiteral("unknown mode \"%1\" (use double or single)").arg(name));
    return std::nullopt;
}

std::optional<int> numberIn(const QString& value, const char* option, int lowest, int highest,
                            ArgumentReader& reader) {
    bool ok = false;
    const int number = value.toInt(&ok);
    if (ok && number >= lowest && number <= highest)
        return number;
    reader.mistake(QStringLiteral("--%1 takes a whole number from %2 to %3, not \"%4\"")
                       .arg(QLatin1String(option))
                       .arg(lowest)
                       .arg(highest)
                       .arg(value));
    return std::nullopt;
}

bool openAndConvert(const QString& path, ConversionVariant variant,
                    const PreparationChoices& preparation, PictureTables& tables, DotImage& dots,
                    QTextStream& err) {
    PictureFile file = readPictureFile(path);
    if (!file.ok()) {
        err << file.error << '\n';
        return false;
    }
    const PreparedPicture prepared = preparePicture(file.image, preparation);
    if (prepared.problem) {
        err << preparationRefusal(path, *prepared.problem) << '\n';
        return false;
    }
    file.image = QImage(); // the prepared picture is all that is needed from here on
    SilentProgress progress;
    tables.positions = convertPicture(prepared.image, tables, variant, dots, progress);
    return true;
}

} // namespace zuk::batch
