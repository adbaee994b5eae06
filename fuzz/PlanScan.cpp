// The resumption's cut on a plan of any bytes, any stopped position, placement and recorded
// line: the cut falls after the recorded line, on a line of the plan, changes nothing in it
// but passed strike digits set to "0", and the rebuilt plan "1.txt" is exactly the lead-in,
// the cut line and the rest of the plan; a plan the run cannot follow is refused with a
// message naming it.
#include "fuzz/support/FuzzSupport.h"

#include "plan/PlanLine.h"
#include "run/PlanFiles.h"
#include "run/PlanRebuild.h"
#include "run/PlanScan.h"
#include "run/ProgressRecord.h"

#include <vector>

namespace zuk::fuzz {
namespace {

std::vector<QByteArray> linesOf(const QString& path) {
    PlanReader reader;
    require(reader.open(path), "the plan written can be opened", path);
    std::vector<QByteArray> lines;
    while (!reader.atEnd())
        lines.push_back(reader.next());
    return lines;
}

QString describe(const PlanCut& cut) {
    return QStringLiteral("kind %1, line %2, \"%3\", start %4 %5")
        .arg(int(cut.kind))
        .arg(cut.line)
        .arg(QString::fromLatin1(cut.cutText.left(60)))
        .arg(cut.start.row)
        .arg(cut.start.column);
}

// Only digits after the prefix may change, and only to "0".
bool onlyPassedDigitsCleared(const QByteArray& original, const QByteArray& cut) {
    if (original.size() != cut.size())
        return false;
    const PlanLineKind kind = planLineKind(original);
    const bool strike = kind == PlanLineKind::Knock || kind == PlanLineKind::KBack;
    for (qsizetype k = 0; k < original.size(); ++k) {
        if (cut[k] == original[k])
            continue;
        if (!strike || k < kStrikeDigitsStart || cut[k] != '0')
            return false;
    }
    return true;
}

void checkCut(const PlanCut& cut, const std::vector<QByteArray>& plan, qint64 recordedLine,
              const QString& planPath) {
    const qint64 count = qint64(plan.size());
    switch (cut.kind) {
    case PlanCut::Kind::Failed:
        require(cut.error.contains(planPath), "a refused plan is named", cut.error);
        return;
    case PlanCut::Kind::NotFound:
        return;
    case PlanCut::Kind::FromLine:
        // An empty plan has its line 1 both before the first line and after the last.
        require((cut.line == 1 && recordedLine == ProgressEntry::kNotStarted) ||
                    (cut.line == count + 1 && recordedLine >= count),
                "the whole plan is kept before the pass began, nothing after it ended",
                describe(cut));
        return;
    case PlanCut::Kind::AtLine:
        require(cut.line >= 1 && cut.line <= count, "the cut is on a line of the plan",
                describe(cut));
        require(cut.line > recordedLine, "the cut is after the recorded line", describe(cut));
        require(onlyPassedDigitsCleared(plan[cut.line - 1], cut.cutText),
                "the cut line is the plan's line with passed digits set to \"0\"",
                describe(cut) + QStringLiteral(" from \"") +
                    QString::fromLatin1(plan[cut.line - 1].left(60)) + '"');
        return;
    }
}

void checkRebuild(const ProgramDir& dir, const PlanCut& cut, const std::vector<QByteArray>& plan,
                  const QString& planPath) {
    if (cut.kind != PlanCut::Kind::AtLine && cut.kind != PlanCut::Kind::FromLine)
        return;
    const RebuiltPlan rebuilt = writeRebuiltPlan(dir, planPath, cut);
    require(rebuilt.result.ok(), "the rest of the plan is written", rebuilt.result.error);
    std::vector<QByteArray> expected;
    qint64 firstKept = cut.line;
    if (cut.kind == PlanCut::Kind::AtLine) {
        expected = {goToLine(cut.start.row, cut.start.column), kDownLine.toByteArray(),
                    cut.cutText};
        firstKept = cut.line + 1;
    }
    for (qint64 line = firstKept; line <= qint64(plan.size()); ++line)
        expected.push_back(plan[line - 1]);
    const QString rebuiltPath = dir.path(kRebuiltPlanName);
    require(linesOf(rebuiltPath) == expected,
            "the rebuilt plan is the lead-in, the cut line and the rest", describe(cut));
    const PlanIdentityRead identity = identifyPlanFile(rebuiltPath);
    require(identity.identity && *identity.identity == rebuilt.identity,
            "the rebuilt plan's identity is that of the file written");
}

} // namespace
} // namespace zuk::fuzz

void zuk::fuzz::testOneInput(FuzzInput& input) {
    const StoppedPosition stop{static_cast<quint16>(input.number(0, 65535)),
                               static_cast<quint16>(input.number(0, 65535))};
    const QPoint offsets(input.number(-2000, 2000), input.number(-2000, 2000));
    const qint64 recordedLine = input.number(-1, 400);
    const ProgramDir& dir = ScratchDir::holding(kEngravingPlanName, input.rest());
    const QString planPath = dir.path(kEngravingPlanName);
    const std::vector<QByteArray> plan = linesOf(planPath);

    PlanReader reader;
    require(reader.open(planPath), "the plan can be opened");
    const PlanCut recorded = cutAfterRecordedLine(reader, offsets, stop, recordedLine);
    checkCut(recorded, plan, recordedLine, planPath);
    checkRebuild(dir, recorded, plan, planPath);

    require(reader.open(planPath), "the plan can be opened again");
    const PlanCut matched = cutAtFirstMatch(reader, offsets, stop);
    checkCut(matched, plan, 0, planPath);
    checkRebuild(dir, matched, plan, planPath);
    return;
}
