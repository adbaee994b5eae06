#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace zuk {

// Reads a plan file one line at a time through one open, buffered file: the run takes one
// line per tick and the estimate reads the whole plan, neither reopens nor rescans it.
// Lines are returned without their line end (CR LF or LF).
class PlanReader {
public:
    PlanReader() = default;
    PlanReader(const PlanReader&) = delete;
    PlanReader& operator=(const PlanReader&) = delete;

    // Opens the file at its first line; false (with error() set) when it cannot be opened.
    bool open(const QString& path);
    // Back to the first line of the file that is open.
    bool rewind();
    void close();

    bool isOpen() const { return file_.isOpen(); }
    // No line is left to read (also when no file is open).
    bool atEnd() const;
    // The next line, without its line end; an empty line at the end of the file. A read
    // failure closes the file and sets error().
    QByteArray next();
    // How many lines next() has returned since the file was opened or rewound.
    qint64 linesRead() const { return linesRead_; }

    const QString& path() const { return path_; }
    // The last failure, naming the file; empty when there was none.
    const QString& error() const { return error_; }

private:
    QFile file_;
    QString path_;
    QString error_;
    qint64 linesRead_ = 0;
};

} // namespace zuk
