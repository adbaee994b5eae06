// A language file of any bytes: it is read without fault, every line that holds a number and
// a text gives the last text written under its number, lines without either are skipped,
// and the status texts it replaces keep to one line of at most 255 characters.
#include "fuzz/support/FuzzSupport.h"

#include "app/Language.h"

#include <QHash>
#include <QRegularExpression>

namespace zuk::fuzz {
namespace {

const QString kFileName = QStringLiteral("Russian.lng");
// Four characters: blanks, then at least one digit up to the fourth.
const QRegularExpression kNumberField(QStringLiteral("^ *[0-9]+$"));
constexpr StatusText kStatusTexts[] = {StatusText::Converting,    StatusText::Transferring,
                                       StatusText::PictureReady,  StatusText::DeviceReady,
                                       StatusText::DeviceFound,   StatusText::LoadingFile,
                                       StatusText::PreparingData, StatusText::WarmUp};

} // namespace
} // namespace zuk::fuzz

void zuk::fuzz::testOneInput(FuzzInput& input) {
    const QByteArray bytes = input.rest();
    const ProgramDir& dir = ScratchDir::holding(kFileName, bytes);

    Texts texts;
    const LanguageLoad load = loadLanguage(dir, texts);
    require(load.ok() && load.fileName == kFileName && texts.languageLoaded(),
            "the language file is found and read", load.error);

    const QStringList lines = dir.readLines(kFileName).lines;
    QHash<int, QString> last;
    for (const QString& line : lines) {
        const std::optional<LanguageLine> parsed = parseLanguageLine(line);
        const bool numbered = line.size() >= 4 && kNumberField.match(line.left(4)).hasMatch();
        require(parsed.has_value() == (numbered && line.contains(QLatin1Char('='))),
                "exactly the lines with a number and a text are taken", line);
        if (!parsed)
            continue;
        require(parsed->number >= 0 && parsed->number <= 9999, "a text number has four digits",
                line);
        require(parsed->text == line.mid(line.indexOf(QLatin1Char('=')) + 1),
                "a text is everything after the first \"=\"", line);
        last[parsed->number] = parsed->text;
    }
    require(load.textCount <= lines.size(), "no more texts than lines");
    for (auto it = last.cbegin(); it != last.cend(); ++it)
        require(texts.language(it.key(), QStringLiteral("-")) == it.value(),
                "each number gives the last text written under it", QString::number(it.key()));
    for (const StatusText status : kStatusTexts)
        require(texts.status(status).size() <= 255, "a status text fits its line");
    return;
}
