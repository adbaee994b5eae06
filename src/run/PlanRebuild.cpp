#include "run/PlanRebuild.h"

#include "run/PlanFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSaveFile>

namespace zuk {

namespace {

QString writeFailure(const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось записать файл \"%1\": %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

// A plan file written line by line, with the identity of what it holds.
class PlanFileWriter {
public:
    explicit PlanFileWriter(const QString& path) : file_(path) {
        if (!file_.open(QIODevice::WriteOnly))
            failed_ = true;
    }

    void put(QByteArrayView line) {
        const QByteArray bytes = line.toByteArray() + kPlanLineEnd.toByteArray();
        failed_ = failed_ || file_.write(bytes) != bytes.size();
        hash_.addData(bytes);
        size_ += bytes.size();
    }
    RebuiltPlan commit() {
        if (failed_ || !file_.commit()) {
            const QString reason = file_.errorString();
            file_.cancelWriting();
            return {FileResult::failure(writeFailure(file_.fileName(), reason)), {}};
        }
        return {{}, PlanIdentity{size_, hash_.result().toHex()}};
    }
    void cancel() { file_.cancelWriting(); }

private:
    QSaveFile file_;
    QCryptographicHash hash_{QCryptographicHash::Sha256};
    qint64 size_ = 0;
    bool failed_ = false;
};

} // namespace

RebuiltPlan writeRebuiltPlan(const ProgramDir& dir, const QString& sourcePath, const PlanCut& cut) {
    PlanReader source;
    if (!source.open(sourcePath))
        return {FileResult::failure(source.error()), {}};
    PlanFileWriter out(dir.path(kRebuiltPlanName));
    qint64 firstKept = cut.line;
    if (cut.kind == PlanCut::Kind::AtLine) {
        out.put(goToLine(cut.start.row, cut.start.column));
        out.put(kDownLine);
        out.put(cut.cutText);
        firstKept = cut.line + 1;
    }
    for (qint64 number = 1; !source.atEnd(); ++number) {
        const QByteArray line = source.next();
        if (!source.error().isEmpty()) {
            out.cancel();
            return {FileResult::failure(source.error()), {}};
        }
        if (number >= firstKept)
            out.put(line);
    }
    return out.commit();
}

FileResult installRebuiltPlan(const ProgramDir& dir, bool secondPass) {
    if (!secondPass)
        return dir.rename(kRebuiltPlanName, kEngravingPlanName);
    if (FileResult emptied = dir.writeLines(kEngravingPlanName, {}); !emptied.ok())
        return emptied;
    return dir.rename(kRebuiltPlanName, kSecondPassPlanName);
}

} // namespace zuk
