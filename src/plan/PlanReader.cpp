#include "plan/PlanReader.h"

#include <QDir>

namespace zuk {

namespace {
QString readFailure(const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось прочитать файл \"%1\": %2")
        .arg(QDir::toNativeSeparators(path), reason);
}
} // namespace

bool PlanReader::open(const QString& path) {
    close();
    path_ = path;
    error_.clear();
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly)) {
        error_ = readFailure(path, file_.errorString());
        return false;
    }
    return true;
}

bool PlanReader::rewind() {
    linesRead_ = 0;
    if (!file_.isOpen())
        return false;
    if (!file_.seek(0)) {
        error_ = readFailure(path_, file_.errorString());
        file_.close();
        return false;
    }
    return true;
}

void PlanReader::close() {
    if (file_.isOpen())
        file_.close();
    linesRead_ = 0;
}

bool PlanReader::atEnd() const {
    return !file_.isOpen() || file_.atEnd();
}

QByteArray PlanReader::next() {
    if (atEnd())
        return {};
    QByteArray line = file_.readLine();
    if (line.isEmpty() && file_.error() != QFileDevice::NoError) {
        error_ = readFailure(path_, file_.errorString());
        file_.close();
        return {};
    }
    ++linesRead_;
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

} // namespace zuk
