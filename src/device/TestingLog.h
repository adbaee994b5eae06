#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

namespace zuk {

// testing.txt: the self-test log of failed exchanges. Opened (created or emptied) when
// self-testing is switched on; every record is flushed at once so that a crash loses none.
class TestingLog {
public:
    bool open(const QString& path);
    bool isOpen() const { return file_.isOpen(); }
    void close() { file_.close(); }
    // Appends the lines in Windows-1251 with CR LF line ends.
    bool append(const QStringList& lines);

private:
    QFile file_;
};

} // namespace zuk
