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

void startQt() {
    static std::unique_ptr<QGuiApplication> app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "zuk-fuzz";
        static char* argv[] = {name, nullptr};
        return std::make_unique<QGuiApplication>(argc, argv);
    }();
}

} // namespace

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

const ProgramDir& ScratchDir::dir() {
    static const ProgramDir dir(scratch().path());
    return dir;
}

const ProgramDir& ScratchDir::fresh() {
    QDir files(scratch().path());
    for (const QString& name : files.entryList(QDir::Files | QDir::Hidden | QDir::System))
        require(files.remove(name), "a file of the previous input can be removed", name);
    return dir();
}

const ProgramDir& ScratchDir::holding(const QString& name, const QByteArray& bytes) {
    const ProgramDir& emptied = fresh();
    put(name, bytes);
    return emptied;
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

// The entry libFuzzer calls for every input.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zuk::fuzz::startQt();
    zuk::fuzz::FuzzInput input(data, size);
    zuk::fuzz::testOneInput(input);
    return 0;
}
