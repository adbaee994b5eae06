#include "support/HeadWalk.h"

#include <map>

namespace zuk::test {
namespace {

// The whole "GoTo:" line: the keyword and two six-character fields.
bool parseGoToLine(const QByteArray& line, int& row, int& column) {
    if (line.size() != 18 || !line.startsWith("GoTo: "))
        return false;
    bool rowOk = false;
    bool columnOk = false;
    row = line.mid(6, 6).trimmed().toInt(&rowOk);
    column = line.mid(12, 6).trimmed().toInt(&columnOk);
    return rowOk && columnOk;
}

// The strike code of a dot value: its level's number, '0' for anything else.
char codeOfValue(double value) {
    static constexpr double kLevels[] = {64, 128, 192, 255};
    for (int level = 0; level < 4; ++level)
        if (value == kLevels[level])
            return char('1' + level);
    return '0';
}

} // namespace

HeadWalk walkPlan(const QByteArray& plan) {
    HeadWalk walk;
    QList<QByteArray> lines = plan.split('\n');
    if (plan.endsWith('\n'))
        lines.removeLast();
    bool needleDown = false;
    bool headPlaced = false;
    int row = 0;
    int column = 0;
    int number = 0;
    for (QByteArray line : lines) {
        ++number;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        if (line.startsWith("GoTo: ")) {
            headPlaced = parseGoToLine(line, row, column);

            if (!headPlaced)
                walk.problems << QStringLiteral("line %1: damaged GoTo").arg(number);
            continue;
        }
        if (line == "Down: " || line == "Up  : ") {
            needleDown = line == "Down: ";
            continue;
        }
        const bool forward = line.startsWith("Knock: ");
        if (!forward && !line.startsWith("KBack: ")) {
            walk.problems << QStringLiteral("line %1: unknown line \"%2\"")
                                 .arg(number)
                                 .arg(QString::fromLatin1(line));
            continue;
        }
        if (!headPlaced || !needleDown)
            walk.problems
                << QStringLiteral("line %1: strike line without GoTo or needle up").arg(number);
        headPlaced = false;
        int cell = forward ? column : column - 1;
        for (const char code : line.mid(7)) {
            if (code < '0' || code > '4')
                walk.problems << QStringLiteral("line %1: code '%2'").arg(number).arg(code);
            walk.steps.push_back({row, cell, code});
            cell += forward ? 1 : -1;
        }
    }
    return walk;
}

QStringList strikeFaults(const DotImage& before, const HeadWalk& walk) {
    QStringList faults = walk.problems;
    std::map<std::pair<int, int>, int> strikes;
    for (const HeadStep& step : walk.steps) {
        const QString where = QStringLiteral("cell (%1, %2)").arg(step.row).arg(step.column);
        if (step.row < 1 || step.row > before.height() || step.column < 1 ||
            step.column > before.width()) {
            faults << where + QStringLiteral(" outside the picture");
            continue;
        }
        const double value = before.dots.at(step.row, step.column + 1);
        int& count = strikes[{step.row, step.column}];
        if (step.code == '0') {
            if (value > 0 && count == 0)
                faults << where + QStringLiteral(" stepped over with 0 before its strike");
            continue;
        }
        if (++count > 1)
            faults << where + QStringLiteral(" struck again");
        if (step.code != codeOfValue(value))
            faults << where + QStringLiteral(" struck with code %1 for dot value %2")
                                  .arg(step.code)
                                  .arg(value);
    }
    for (int row = 1; row <= before.height(); ++row)
        for (int column = 1; column <= before.width(); ++column)
            if (before.gray.at(row, column) > 0 && before.dots.at(row, column + 1) > 0 &&
                strikes[{row, column}] != 1)
                faults << QStringLiteral("picture cell (%1, %2) with a dot not struck")
                              .arg(row)
                              .arg(column);
    return faults;
}

} // namespace zuk::test
