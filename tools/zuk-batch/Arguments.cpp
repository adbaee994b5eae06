#include "Arguments.h"

#include "image/Conversion.h"

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

bool openAndConvert(const QString& path, ConversionVariant variant, PictureTables& tables,
                    Picture& picture, QTextStream& err) {
    picture.bitmap = QImage(); // the previous picture is no longer needed
    PictureFile file = readPictureFile(path);
    if (!file.ok()) {
        err << file.error << '\n';
        return false;
    }
    picture.bitmap = std::move(file.image);
    picture.fileName = path;
    SilentProgress progress;
    rebuildAndConvert(picture, tables, variant, progress);
    return true;
}

} // namespace zuk::batch
