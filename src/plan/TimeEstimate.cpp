#include "plan/TimeEstimate.h"

#include "app/Screen.h"
#include "app/Texts.h"
#include "device/CommandSet.h"
#include "plan/PlanLine.h"
#include "plan/PlanReader.h"

#include <QDir>

#include <cstdlib>

namespace zuk {

namespace {

// 10-µs units of the parts of a time of day.
constexpr qint64 kUnitsPerHour = 360'000'000;
constexpr qint64 kUnitsPerMinute = 6'000'000;
constexpr qint64 kUnitsPerSecond = 100'000;
constexpr qint64 kHoursPerDay = 24;

// k = step-time factor × motor parameter × 100 × 0.024375, and 100 × 0.024375 = 39 / 16.
constexpr qint64 kStepNumerator = 39;
constexpr qint64 kStepDenominator = 16;

QString lineError(const PlanReader& plan, QByteArrayView line, const char* what) {
    return QStringLiteral("План \"%1\", строка %2 (\"%3\"): %4")
        .arg(QDir::toNativeSeparators(plan.path()))
        .arg(plan.linesRead())
        .arg(QString::fromLatin1(line.first(std::min<qsizetype>(line.size(), 40))),
             QString::fromUtf8(what));
}

// One reading of the plan from its first line, adding to the total. Empty on success, else
// the reason naming the line.
QString addPass(PlanReader& plan, const EstimateInputs& inputs, qint64& total) {
    PlanLineTimes times(inputs);
    while (!plan.atEnd()) {
        const QByteArray line = plan.next();
        if (!plan.isOpen())
            return plan.error();
        const std::optional<qint64> time = times.next(line);
        if (!time)
            return lineError(plan, line, times.why());
        total += *time;
    }
    return {};
}

// The locale's long time format without the time zone: hours, minutes and seconds.
QString timeFormat(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != QLatin1Char('t'))
            kept += c;
    }
    return kept.trimmed();
}

} // namespace

EstimateInputs estimateInputs(const CommandSet& commands, qint32 columnOffset, qint32 rowOffset,
                              bool secondPass, bool linkActive) {
    EstimateInputs inputs;
    inputs.linkDelay = commands.linkDelayMs;
    inputs.stepTimeFactor = commands.stepTimeFactor;
    inputs.motorParameter60 = commands.motorParameter60;
    inputs.stepDuration = commands.stepDuration;
    inputs.strikeDurations = commands.strikeDurations;
    inputs.columnOffset = columnOffset;
    inputs.rowOffset = rowOffset;
    inputs.secondPass = secondPass;
    inputs.linkActive = linkActive;
    return inputs;
}

qint64 stepTerm(const EstimateInputs& inputs, qint64 steps) {
    const qint64 perStep = qint64{inputs.stepTimeFactor} * inputs.motorParameter60 * kStepNumerator;
    return perStep * steps / kStepDenominator;
}

PlanLineTimes::PlanLineTimes(const EstimateInputs& inputs) : inputs_(inputs) {
    digitTimes_.fill(-1);
    digitTimes_['0'] = inputs.stepDuration;
    for (int code = 1; code <= 4; ++code)
        digitTimes_['0' + code] = inputs.strikeDurations[code - 1];
}

std::optional<qint64> PlanLineTimes::next(QByteArrayView line) {
    switch (planLineKind(line)) {
    case PlanLineKind::GoTo:
        return move(line);
    case PlanLineKind::Knock:
        return strikes(line, +1);
    case PlanLineKind::KBack:
        return strikes(line, -1);
    case PlanLineKind::Up:
    case PlanLineKind::Down:
        return inputs_.linkDelay;
    case PlanLineKind::Other:
        return 0;
    }
    return 0;
}

std::optional<qint64> PlanLineTimes::move(QByteArrayView line) {
    const std::optional<PlanCell> cell = parseGoTo(line);
    if (!cell) {
        why_ = "в строке перемещения нет номера строки и столбца";
        return std::nullopt;
    }
    const qint64 row = qint64{cell->row} + inputs_.rowOffset;
    const qint64 column = qint64{cell->column} + inputs_.columnOffset;
    qint64 time = 0;
    if (inputs_.linkActive) {
        const qint64 rows = row - previousRow_;
        time += inputs_.linkDelay + stepTerm(inputs_, std::abs(rows) * 2);
        const qint64 columns = column - previousColumn_;
        // Going back to a smaller column costs a second link delay.
        time += (columns < 0 ? 2 : 1) * qint64{inputs_.linkDelay} +
                stepTerm(inputs_, std::abs(columns));
    }
    previousRow_ = row;
    previousColumn_ = column;
    return time;
}

// `direction` is +1 for "Knock" (left to right), -1 for "KBack".
std::optional<qint64> PlanLineTimes::strikes(QByteArrayView line, int direction) {
    const QByteArrayView digits = withoutTrailingZeros(strikeDigits(line));
    qint64 sum = 0;
    for (const char c : digits) {
        const qint64 time = digitTimes_[static_cast<unsigned char>(c)];
        if (time < 0) {
            why_ = "в строке удара допустимы только цифры от 0 до 4";
            return std::nullopt;
        }
        sum += time;
    }
    if (inputs_.linkActive)
        previousColumn_ += direction * digits.size();
    return sum;
}

JobEstimate estimateJob(PlanReader& plan, const EstimateInputs& inputs) {
    JobEstimate estimate;
    for (int pass = 0; pass < (inputs.secondPass ? 2 : 1); ++pass) {
        if (!plan.rewind()) {
            estimate.error = plan.error().isEmpty()
                                 ? QStringLiteral("Файл плана гравирования не открыт")
                                 : plan.error();
            return estimate;
        }
        estimate.error = addPass(plan, inputs, estimate.total);
        if (!estimate.ok())
            return estimate;
    }
    plan.rewind();
    return estimate;
}

QString durationText(qint64 total, const QLocale& locale) {
    qint64 rest = std::max<qint64>(total, 0);
    const qint64 hours = rest / kUnitsPerHour;
    rest %= kUnitsPerHour;
    const int minutes = static_cast<int>(rest / kUnitsPerMinute);
    rest %= kUnitsPerMinute;
    const int seconds = static_cast<int>(rest / kUnitsPerSecond);
    rest %= kUnitsPerSecond;
    const int milliseconds = static_cast<int>((rest / kTimeUnitsPerMillisecond) % 1000);
    if (hours < kHoursPerDay)
        return locale.toString(QTime(static_cast<int>(hours), minutes, seconds, milliseconds),
                               timeFormat(locale));
    return QStringLiteral("%1:%2:%3")
        .arg(hours)
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(seconds, 2, 10, QLatin1Char('0'));
}

QString endTimeText(const QDateTime& now, qint64 total, const QLocale& locale) {
    const QDateTime end = now.addMSecs(std::max<qint64>(total, 0) / kTimeUnitsPerMillisecond);
    QString time = locale.toString(end.time(), timeFormat(locale));
    if (end.date() == now.date())
        return time;
    return locale.toString(end.date(), QLocale::ShortFormat) + QLatin1Char(' ') + time;
}

void showJobEstimate(Screen& screen, const Texts& texts, const QDateTime& now, qint64 total,
                     const QLocale& locale) {
    // The captions end in one blank before the time, whatever the language file gives.
    const auto caption = [&texts](int number, const char* builtin) {
        QString text = texts.language(number, QString::fromUtf8(builtin));
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        return text + QLatin1Char(' ');
    };
    screen.setJobTimes(caption(1, "Время завершения работы:") + endTimeText(now, total, locale),
                       caption(0, "Длительность работы:") + durationText(total, locale));
}

} // namespace zuk
