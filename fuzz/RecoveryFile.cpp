// ErorFile.txt of any bytes: it is read as a whole job, or refused as damaged with a message
// naming it. A job read writes back and reads again as the same job. At start-up a damaged
// file is moved aside under a name the next start does not find, its bytes kept, and the
// operator told; a sound one is the pending job.
#include "fuzz/support/FuzzSupport.h"

#include "app/Settings.h"
#include "fuzz/support/FuzzProgram.h"

namespace zuk::fuzz {
namespace {

const QString kDamagedName = QStringLiteral("ErorFile.damaged.txt");

QString describe(const RecoveryData& d) {
    return QStringLiteral("\"%1\" %2 %3 [%4 %5 %6 %7] %8 [%9 %10 %11 %12] %13 \"%14\"")
        .arg(d.pictureFile)
        .arg(d.columnOffset)
        .arg(d.rowOffset)
        .arg(d.first.level8)
        .arg(d.first.level16)
        .arg(d.first.level24)
        .arg(d.first.level32)
        .arg(d.secondPass)
        .arg(d.second.level8)
        .arg(d.second.level16)
        .arg(d.second.level24)
        .arg(d.second.level32)
        .arg(d.resolutionIndex)
        .arg(d.tail);
}

void checkJobWritesBack(const ProgramDir& dir, const RecoveryData& read) {
    // The nine density lines, or -1 (no line) and 9 (the empty line) that the density
    // dialog's odd choices give and the job start writes as they are.
    require(read.resolutionIndex >= kNoResolutionLine &&
                read.resolutionIndex <= kEmptyResolutionLine,
            "the density line is one the job start writes", describe(read));
    const RecoveryStage stage =
        read.secondPassStarted() ? RecoveryStage::SecondPassStart : RecoveryStage::JobStart;
    if (!writeRecoveryFile(dir, read, stage).ok())
        return; // a picture name Windows-1251 cannot hold: the write says so
    RecoveryData expected = read;
    expected.secondPass = read.secondPass || read.secondPassStarted();
    if (!read.secondPassStarted())
        expected.tail.clear();
    const RecoveryRead<RecoveryData> again = readRecoveryFile(dir);
    require(again.ok() && again.data == expected, "the job written back reads as the same job",
            describe(expected) + QStringLiteral(" became ") + describe(again.data));
}

// A start-up with the file in place, without a device.
void checkStartUp(const QByteArray& bytes, const RecoveryRead<RecoveryHeader>& header) {
    const ProgramDir& dir = ScratchDir::holding(kRecoveryFileName, bytes);
    Settings settings;
    settings.fieldWidth = 40;
    settings.fieldHeight = 30;
    settings.portName = QStringLiteral("none");
    require(saveConfiguration(dir, settings).ok(), "Zuk.ini can be written");
    const Program& program = FuzzProgram::start([](const QString&) { return nullptr; });
    const test::RecordingScreen& screen = FuzzProgram::screen();
    if (header.ok()) {
        require(program.unfinishedJob && program.savedJob.pictureFile == header.data.pictureFile &&
                    program.savedJob.columnOffset == header.data.columnOffset &&
                    program.savedJob.rowOffset == header.data.rowOffset,
                "a sound file is the pending job");
        require(ScratchDir::bytes(kRecoveryFileName) == bytes, "the pending job's file stays");
        return;
    }
    require(!program.unfinishedJob, "a damaged file is no pending job");
    require(screen.messages.contains(header.error +
                                     QStringLiteral(".\nНезавершённая работа не "
                                                    "будет продолжена; файл "
                                                    "сохранён как \"") +
                                     dir.path(kDamagedName) + QStringLiteral("\".")),
            "the operator is told the file is damaged and where it is kept",
            screen.messages.join(QLatin1Char('|')));
    require(!dir.exists(kRecoveryFileName) && ScratchDir::bytes(kDamagedName) == bytes,
            "the damaged file is kept aside with its bytes");
}

} // namespace
} // namespace zuk::fuzz

void zuk::fuzz::testOneInput(FuzzInput& input) {
    const QByteArray bytes = input.rest();
    const ProgramDir& dir = ScratchDir::holding(kRecoveryFileName, bytes);

    const RecoveryRead<RecoveryHeader> header = readRecoveryHeader(dir);
    const RecoveryRead<RecoveryData> job = readRecoveryFile(dir);
    for (const RecoveryStatus status : {header.status, job.status}) {
        require(status == RecoveryStatus::Ok || status == RecoveryStatus::Damaged,
                "a file in place is read or found damaged");
    }
    for (const QString& error : {header.error, job.error}) {
        require(error.isEmpty() ||
                    error.startsWith(QStringLiteral("Файл восстановления \"ErorFile.txt\" "
                                                    "повреждён: ")),
                "a damaged file is named in its message", error);
    }
    if (job.ok()) {
        require(header.ok() && header.data.pictureFile == job.data.pictureFile &&
                    header.data.columnOffset == job.data.columnOffset &&
                    header.data.rowOffset == job.data.rowOffset,
                "the start-up's header agrees with the whole job");
        checkJobWritesBack(dir, job.data);
    }
    checkStartUp(bytes, header);
    return;
}
