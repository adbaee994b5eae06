#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace zuk {

// The outcome of a file operation: empty error text means success.
struct FileResult {
    QString error;

    bool ok() const { return error.isEmpty(); }
    static FileResult failure(const QString& text) { return FileResult{text}; }
};

// Lines read from a text file. A missing file is not an error: `missing` tells it apart.
struct TextFile {
    QStringList lines;
    bool missing = false;
    QString error;

    bool ok() const { return error.isEmpty() && !missing; }
};

// How a text file is written.
enum class WriteMode {
    // Through a temporary file that replaces the old one only when everything was written:
    // a crash or a full disk never leaves the file half-written.
    Replace,
    // Straight into the file, truncating it first (logs, scratch files).
    Direct,
};

// The directory that holds all files of the program (configuration, language file, plans,
// recovery file, logs). Every file of the program is addressed through path(), which finds
// an existing file whatever the letter case of its name, so "ErorFile.txt" and
// "ErorFile.Txt" are one file also on file systems that tell case apart.
//
// Text files are 8-bit Windows-1251 with CR LF line ends.
class ProgramDir {
public:
    // The current directory of the process.
    ProgramDir();
    explicit ProgramDir(const QString& directory);

    // Absolute, without a trailing separator.
    const QString& directory() const { return directory_; }

    // The full path of the file `name` (a bare file name): the existing entry whose name
    // equals `name` ignoring letter case (an exact match first, else the first in name
    // order), or directory + "/" + name when there is none.
    QString path(const QString& name) const;
    // A regular file of that name exists, in any letter case.
    bool exists(const QString& name) const;
    // Removes the file under every letter case it exists in. Removing a file that does not
    // exist succeeds.
    FileResult remove(const QString& name) const;
    // Renames `from` to `to` in one atomic step that replaces an existing `to` (a crash leaves
    // the old file or the new one, never none); other letter cases of `to` are removed after.
    FileResult rename(const QString& from, const QString& to) const;
    // The name of the first regular file (hidden ones included) matching a wildcard pattern
    // such as "*.lng", ignoring letter case; the order is by name ignoring case, so the
    // choice is the same on every run. Empty when nothing matches.
    QString findFirst(const QString& pattern) const;

    // Reads the file's lines (CR LF or LF ends; the line end is not part of the line), at
    // most `maxLines` when that is not negative.
    TextFile readLines(const QString& name, int maxLines = -1) const;
    // Writes the lines, each followed by CR LF. Fails without touching the file when a line
    // holds a line break or a character Windows-1251 cannot hold.
    FileResult writeLines(const QString& name, const QStringList& lines,
                          WriteMode mode = WriteMode::Replace) const;

    // The message for a file that could not be written, naming it and the reason.
    static QString writeFailure(const QString& path, const QString& reason);

    // The program's text conversion, for code that streams larger files itself.
    static QString decode(const QByteArray& bytes);
    // Empty when the text holds a character Windows-1251 cannot hold.
    static std::optional<QByteArray> encode(const QString& text);

private:
    QStringList entriesMatching(const QString& name) const;

    QString directory_;
};

// A QTemporaryDir template "<folder>/<name>-XXXXXX" for scratch work that no one keeps: in
// memory where the system offers it (/dev/shm), so that durable writes wait for no disk,
// else in the system's temporary folder.
QString scratchDirectoryTemplate(const QString& name);

} // namespace zuk
