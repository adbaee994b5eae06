#pragma once

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

#include <memory>

namespace zuk {

// Writes a large text file through one fixed buffer. The file replaces an existing one of
// that name only when every byte has been written (commit), so a failed or abandoned build
// leaves no half-written file behind. Every write to the disk is checked; the first failure
// is kept as a message naming the file, and nothing is written after it.
class BufferedFileWriter {
public:
    static constexpr qsizetype kDefaultBufferSize = qsizetype(1) << 20;

    explicit BufferedFileWriter(const QString& path, qsizetype bufferSize = kDefaultBufferSize);
    BufferedFileWriter(const BufferedFileWriter&) = delete;
    BufferedFileWriter& operator=(const BufferedFileWriter&) = delete;

    // Creates the temporary file; false (with error() set) when it cannot be created.
    bool open();

    void append(QByteArrayView bytes);

    // Writes what is buffered and puts the file in place; false (with error() set) when any
    // write failed.
    bool commit();
    // Drops the file; an existing file of that name stays as it was. (Destroying the writer
    // without a commit does the same.)
    void cancel();

    bool failed() const { return !error_.isEmpty(); }
    const QString& error() const { return error_; }
    const QString& path() const { return path_; }

private:
    void flushBuffer();
    void fail(const QString& reason);

    QString path_;
    QSaveFile file_;
    std::unique_ptr<char[]> buffer_;
    char* next_;
    char* end_;
    QString error_;
};

} // namespace zuk
