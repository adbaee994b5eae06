#include "journal/JournalRecord.h"

#include "app/CountText.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <array>
#include <numeric>
#include <utility>

namespace zuk {

namespace {

constexpr std::array kKindNames{std::pair{JournalKind::Job, "Работа"},
                                std::pair{JournalKind::Resumption, "Продолжение"}};

constexpr std::array kOutcomeNames{
    std::pair{JournalOutcome::Finished, "Завершена"},
    std::pair{JournalOutcome::StoppedAndKept, "Прервана («Завершить работу»), сохранена"},
    std::pair{JournalOutcome::FaultStop, "Остановлена сбоем связи, сохранена"},
    std::pair{JournalOutcome::EndedWithoutDevice, "Прошла без связи с устройством, сохранена"},
    std::pair{JournalOutcome::PlanFault, "Остановлена ошибкой плана, сохранена"},
    std::pair{JournalOutcome::NotBegunKept, "Не начата: устройство не приняло настройки, "
                                            "сохранена"},
    std::pair{JournalOutcome::Withdrawn, "Отменена до начала, ничего не нанесено"},
    std::pair{JournalOutcome::ResumptionFailed, "Продолжить не удалось, сохранена"},
};

template <typename Names, typename Value> QString nameOf(const Names& names, Value value) {
    for (const auto& [known, name] : names)
        if (known == value)
            return QString::fromUtf8(name);
    return {};
}

template <typename Value, typename Names>
std::optional<Value> valueNamed(const Names& names, const QString& text) {
    for (const auto& [known, name] : names)
        if (text == QString::fromUtf8(name))
            return known;
    return std::nullopt;
}

QString levelsText(const StrikeLevels& levels) {
    return QStringLiteral("%1/%2/%3/%4")
        .arg(levels.level32)
        .arg(levels.level24)
        .arg(levels.level16)
        .arg(levels.level8);
}

// Strike codes "4" to "1", the levels "32" to "8", as the forces are written.
QString strikesText(const StrikeCounts& strikes) {
    return QStringLiteral("%1/%2/%3/%4")
        .arg(countText(strikes[3]), countText(strikes[2]), countText(strikes[1]),
             countText(strikes[0]));
}

} // namespace

qint64 JournalRecord::strikesInAll() const {
    return std::accumulate(strikes.begin(), strikes.end(), qint64(0));
}

QString journalKindText(JournalKind kind) {
    return nameOf(kKindNames, kind);
}

QString journalOutcomeText(JournalOutcome outcome) {
    return nameOf(kOutcomeNames, outcome);
}

std::optional<JournalKind> journalKindNamed(const QString& text) {
    return valueNamed<JournalKind>(kKindNames, text);
}

std::optional<JournalOutcome> journalOutcomeNamed(const QString& text) {
    return valueNamed<JournalOutcome>(kOutcomeNames, text);
}

QString journalDurationText(qint64 ms) {
    const qint64 seconds = std::max<qint64>(0, ms) / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

std::optional<qint64> journalDurationMs(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{1,6}):([0-5]\\d):([0-5]\\d)$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return ((match.captured(1).toLongLong() * 60 + match.captured(2).toLongLong()) * 60 +
            match.captured(3).toLongLong()) *
           1000;
}

QStringList journalColumnTitles() {
    return {QStringLiteral("Начало"),           QStringLiteral("Вид"),
            QStringLiteral("Картинка"),         QStringLiteral("Итог"),
            QStringLiteral("Длительность"),     QStringLiteral("Оценка"),
            QStringLiteral("Удары 32/24/16/8"), QStringLiteral("Строки"),
            QStringLiteral("Качество"),         QStringLiteral("Проходы"),
            QStringLiteral("Силы 32/24/16/8"),  QStringLiteral("Размещение"),
            QStringLiteral("Плотность")};
}

QStringList journalRecordCells(const JournalRecord& record) {
    QString forces = levelsText(record.first);
    if (record.secondPass)
        forces += QStringLiteral("; 2-й: ") + levelsText(record.second);
    return {
        record.start.toString(QStringLiteral("HH:mm:ss")),
        journalKindText(record.kind),
        QFileInfo(record.pictureFile).fileName(),
        journalOutcomeText(record.outcome),
        journalDurationText(record.durationMs),
        record.estimateMs ? journalDurationText(*record.estimateMs) : QString(),
        strikesText(record.strikes),
        QStringLiteral("%1 из %2").arg(countText(record.linesDone), countText(record.planLines)),
        (record.singleSided ? QStringLiteral("Высокое") : QStringLiteral("Стандарт")) +
            (record.portrait ? QStringLiteral(", портрет") : QStringLiteral(", текст")),
        QString::number(record.secondPass ? 2 : 1),
        forces,
        QStringLiteral("столбец %1, строка %2").arg(record.offset.x()).arg(record.offset.y()),
        QString::number(record.density)};
}

} // namespace zuk
