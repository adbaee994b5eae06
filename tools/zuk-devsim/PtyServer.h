#pragma once

#include <QString>

namespace zuk::devsim {

// The master side of a new pseudo-terminal in raw mode at 19200 baud. The server keeps the
// terminal's other side open itself, so that a client may close and reopen the path without
// the terminal disappearing.
class PtyServer {
public:
    PtyServer() = default;
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Creates the terminal (and the symlink when linkPath is not empty).
    bool open(const QString& linkPath, QString* error);
    QString terminalPath() const { return terminalPath_; }
    int masterFd() const { return master_; }
    // Writes one byte to the client; false when it cannot be written now.
    bool writeByte(unsigned char byte);

private:
    void close();

    int master_ = -1;
    int slave_ = -1;
    QString terminalPath_;
    QString linkPath_;
};

} // namespace zuk::devsim
