#include "fuzz/support/FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace zuk::fuzz {

namespace {

QTemporaryDir& scratch() {
    static QTemporaryDir dir = [] {
        const QString memory = QStringLiteral("/dev/shm");
        const QString base =
            QFileInfo(memory).isDir() && QFileInfo(memory).isWritable() ? memory : QDir::tempPath();
        return QTemporaryDir(base + QStringLiteral("/zuk-fuzz-XXXXXX"));
    }();
    return dir;
}

} // namespace

void startQt() {
    static std::unique_ptr<QGuiApplication> app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "zuk-fuzz";
        static char* argv[] = {name, nullptr};
        return std::make_unique<QGuiApplication>(argc, argv);
    }();
}

void fail(const char* what, const QString& detail) {
    std::fprintf(stderr, "\n*** does not hold: %s\n", what);
    if (!detail.isEmpty())
        std::fprintf(stderr, "    %s\n", detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

int FuzzInput::number(int low, int high) {
    const int first = byte();
    const int raw = first << 8 | byte();
    return low + raw % (high - low + 1);
}

QByteArray FuzzInput::rest() {
    QByteArray bytes(data_ + used_, static_cast<qsizetype>(size_ - used_));
    used_ = size_;
    return bytes;
}

const ProgramDir& ScratchDir::fresh() {
    static const ProgramDir dir(scratch().path());
    QDir files(scratch().path());
    for (const QString& name : files.entryList(QDir::Files | QDir::Hidden | QDir::System))
        require(files.remove(name), "a file of the previous input can be removed", name);
    return dir;
}

void ScratchDir::put(const QString& name, const QByteArray& bytes) {
    QFile file(scratch().filePath(name));
    require(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(),
            "the input can be written to the scratch directory", name);
}

QByteArray ScratchDir::bytes(const QString& name) {
    QFile file(scratch().filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ScratchDir::has(const QString& name) {
    return QFile::exists(scratch().filePath(name));
}

} // namespace zuk::fuzz
