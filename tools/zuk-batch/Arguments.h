#pragma once

#include "image/DialogChoices.h"
#include "image/DotImage.h"
#include "image/PreparationChoices.h"
#include "image/ToneTables.h"

#include <QStringList>
#include <QTextStream>

#include <optional>

namespace zuk::batch {

// Walks a subcommand's arguments: options as "--name VALUE" or "--name=VALUE", and plain
// arguments. A mistake is written to `err` once, prefixed with the command's name.
class ArgumentReader {
public:
    ArgumentReader(const QStringList& args, const char* command, QTextStream& err)
        : args_(args), command_(command), err_(err) {}

    bool atEnd() const { return next_ >= args_.size(); }
    // When the next argument is the option `name`, takes it with its value and returns
    // true; a missing value is a mistake (the option is still taken).
    bool option(const char* name, QString& value);
    // When the next argument is the flag `name` (an option without a value), takes it and
    // returns true.
    bool flag(const char* name);
    // When the next argument starts with "--" it is an unknown option: a mistake.
    bool unknownOption();
    // The next argument, taken as it is.
    QString plain() { return args_[next_++]; }

    // Records a mistake; returns false for convenience.
    bool mistake(const QString& text);
    bool failed() const { return failed_; }

private:
    const QStringList& args_;
    const char* command_;
    QTextStream& err_;
    qsizetype next_ = 0;
    bool failed_ = false;
};

// The conversion variant named on the command line ("combined" or "simple"); a mistake
// otherwise.
std::optional<ConversionVariant> variantNamed(const QString& name, ArgumentReader& reader);

// The strike mode named on the command line: "single" (true, "Высокое") or "double"
// ("Стандарт"); a mistake otherwise.
std::optional<bool> singleSidedNamed(const QString& name, ArgumentReader& reader);

// A whole number in [lowest, highest] given to `option`; a mistake otherwise.
std::optional<int> numberIn(const QString& value, const char* option, int lowest, int highest,
                            ArgumentReader& reader);

// Reads the picture file, prepares it with the choices and converts it into `dots` as
// "Открыть" does with the tables given (those after start-up for a fresh program start), whose
// pattern positions move on. False, with the message naming the file written, when the file
// cannot be read or prepared. The grids of the dots held are reused when their size fits.
bool openAndConvert(const QString& path, ConversionVariant variant,
                    const PreparationChoices& preparation, PictureTables& tables, DotImage& dots,
                    QTextStream& err);

} // namespace zuk::batch
