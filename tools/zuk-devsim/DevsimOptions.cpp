#include "DevsimOptions.h"

#include "app/Version.h"

#include "simulator/Machine.h"

#include <QCommandLineParser>
#include <QStringEncoder>

#include <climits>

namespace zuk::devsim {

namespace {

const char* const kDescription =
    "Simulated engraving device on a pseudo-terminal.\n"
    "\n"
    "Serves the device's side of the serial protocol on a new pseudo-terminal (raw mode) and\n"
    "prints the terminal's path on the first line of standard output. Open that path (or the\n"
    "--link path) as the serial port in the program or in a serial terminal. Runs until\n"
    "SIGINT or SIGTERM, then writes the requested reports and the state file and exits.\n"
    "\n"
    "A pseudo-terminal carries no parity bit, so the odd-parity resynchronisation burst\n"
    "(81 81 18 18 88 0F) is recognised by its bytes wherever the device's state rules out a\n"
    "frame or a reply: while it waits for a confirmation (20..2F) or for 03, while it is busy,\n"
    "during report replies other than that byte, and at the start of any frame except a\n"
    "print-line data frame. There 81, 18 and 88 are valid dot codes: such a byte is taken as\n"
    "a burst byte only when no further byte follows within 40 ms (the host writes a frame's\n"
    "five bytes back to back but waits after each burst byte).\n"
    "\n"
    "Fault counts are 1-based and may be repeated or given as comma lists (3,7).";

struct Parsed {
    QCommandLineParser parser;
    QCommandLineOption link{"link", "Make a symlink at <path> pointing to the terminal.", "path"};
    QCommandLineOption speed{"speed", "Run modelled durations <factor> times faster (default 1).",
                             "factor"};
    QCommandLineOption id{"id",
                          "Identification text at memory addresses 80..112 (33 characters; "
                          "padded with blanks or cut).",
                          "text"};
    QCommandLineOption dropAnswer{"drop-answer", "Lose the <n>th byte the device sends.", "n"};
    QCommandLineOption corruptAnswer{"corrupt-answer",
                                     "Invert every bit of the <n>th byte the device sends.", "n"};
    QCommandLineOption refuseFrame{"refuse-frame", "Refuse the <n>th good frame with 0x90 + s.",
                                   "n"};
    QCommandLineOption silentAfter{"silent-after",
                                   "Fall silent once <n> commands have been carried out.", "n"};
    QCommandLineOption silentFor{
        "silent-for", "End that silence after <ms> milliseconds (default: never).", "ms"};
    QCommandLineOption powerLossLines{
        "power-loss-after-lines",
        "Lose power during print line <n> + 1 (the head keeps its place).", "n"};
    QCommandLineOption powerLossDots{
        "power-loss-after-dots", "Strike <k> dots of that line before the power fails (default 0).",
        "k"};
    QCommandLineOption powerBack{
        "power-back-after",
        "Power comes back <ms> milliseconds after it failed (default: only "
        "when zuk-devsim is started again).",
        "ms"};
    QCommandLineOption state{"state",
                             "Keep the head position in <file>: read at start when it exists, "
                             "written whenever the head moved and on exit.",
                             "file"};
    QCommandLineOption png{
        "png", "On exit write the plate picture (strikes by level on black) to <file>.", "file"};
    QCommandLineOption csv{
        "csv", "On exit write every strike (pass, column, row step, level, force) to <file>.",
        "file"};
    QCommandLineOption json{"json",
                            "On exit write a JSON summary (commands by kind, strikes per level and "
                            "pass, resynchronisations, protocol violations, modelled device time) "
                            "to <file>.",
                            "file"};
    QCommandLineOption trace{"trace", "Log protocol events and violations on standard error."};

    Parsed() {
        parser.setApplicationDescription(QString::fromLatin1(kDescription));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOptions({link, speed, id, dropAnswer, corruptAnswer, refuseFrame, silentAfter,
                           silentFor, powerLossLines, powerLossDots, powerBack, state, png, csv,
                           json, trace});
    }
};

bool toCount(const QString& text, qint64 minimum, qint64* value) {
    bool ok = false;
    *value = text.trimmed().toLongLong(&ok);
    return ok && *value >= minimum;
}

bool readCounts(const Parsed& p, const QCommandLineOption& option, std::set<int>* counts,
                QString* error) {
    for (const QString& value : p.parser.values(option)) {
        for (const QString& item : value.split(',', Qt::SkipEmptyParts)) {
            qint64 n = 0;
            if (!toCount(item, 1, &n) || n > INT_MAX) {
                *error = QStringLiteral("--%1 needs counts of 1 or more, not \"%2\"")
                             .arg(option.names().first(), item);
                return false;
            }
            counts->insert(static_cast<int>(n));
        }
    }
    return true;
}

template <typename T>
bool readNumber(const Parsed& p, const QCommandLineOption& option, qint64 minimum, T* target,
                QString* error) {
    if (!p.parser.isSet(option))
        return true;
    qint64 n = 0;
    if (!toCount(p.parser.value(option), minimum, &n) || n > INT_MAX) {
        *error = QStringLiteral("--%1 needs a whole number of at least %2, not \"%3\"")
                     .arg(option.names().first())
                     .arg(minimum)
                     .arg(p.parser.value(option));
        return false;
    }
    *target = static_cast<T>(n);
    return true;
}

bool readFaults(const Parsed& p, sim::FaultPlan* f, QString* error) {
    return readCounts(p, p.dropAnswer, &f->dropAnswerBytes, error) &&
           readCounts(p, p.corruptAnswer, &f->corruptAnswerBytes, error) &&
           readCounts(p, p.refuseFrame, &f->refuseFrames, error) &&
           readNumber(p, p.silentAfter, 1, &f->silentAfterCommands, error) &&
           readNumber(p, p.silentFor, 1, &f->silentForMs, error) &&
           readNumber(p, p.powerLossLines, 1, &f->powerLossAfterPrintLines, error) &&
           readNumber(p, p.powerLossDots, 0, &f->powerLossAfterDots, error) &&
           readNumber(p, p.powerBack, 1, &f->powerBackAfterMs, error);
}

bool readSpeed(const Parsed& p, double* speed, QString* error) {
    if (!p.parser.isSet(p.speed))
        return true;
    bool ok = false;
    *speed = p.parser.value(p.speed).toDouble(&ok);
    if (!ok || *speed < 0.01 || *speed > 10000) {
        *error = QStringLiteral("--speed needs a factor between 0.01 and 10000, not \"%1\"")
                     .arg(p.parser.value(p.speed));
        return false;
    }
    return true;
}

} // namespace

std::optional<DevsimOptions> parseDevsimOptions(const QStringList& arguments, QString* message,
                                                int* exitCode) {
    Parsed p;
    *exitCode = 2;
    if (!p.parser.parse(arguments)) {
        *message = p.parser.errorText() + QStringLiteral("\nTry --help.");
        return std::nullopt;
    }
    if (p.parser.isSet(QStringLiteral("version"))) {
        *message = QStringLiteral("zuk-devsim ") + versionText();
        *exitCode = 0;
        return std::nullopt;
    }
    if (p.parser.isSet(QStringLiteral("help"))) {
        *message = p.parser.helpText();
        *exitCode = 0;
        return std::nullopt;
    }
    if (!p.parser.positionalArguments().isEmpty()) {
        *message = QStringLiteral("unexpected argument \"%1\"\nTry --help.")
                       .arg(p.parser.positionalArguments().first());
        return std::nullopt;
    }
    DevsimOptions options;
    if (!readSpeed(p, &options.sim.speed, message) || !readFaults(p, &options.sim.faults, message))
        return std::nullopt;
    if (p.parser.isSet(p.id)) {
        // The program reads the text back as Windows-1251, as the device stores it.
        QStringEncoder encoder("windows-1251");
        const QByteArray text =
            QByteArray(encoder.encode(p.parser.value(p.id))).left(sim::kIdentificationLength);
        options.sim.identification = text.leftJustified(sim::kIdentificationLength, ' ');
    }
    options.linkPath = p.parser.value(p.link);
    options.statePath = p.parser.value(p.state);
    options.pngPath = p.parser.value(p.png);
    options.csvPath = p.parser.value(p.csv);
    options.jsonPath = p.parser.value(p.json);
    options.trace = p.parser.isSet(p.trace);
    return options;
}

} // namespace zuk::devsim
