#include "PtyServer.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace zuk::devsim {

namespace {

QString systemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

bool makeRaw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    cfsetispeed(&settings, B19200);
    cfsetospeed(&settings, B19200);
    settings.c_cflag |= CLOCAL | CREAD;
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

} // namespace

PtyServer::~PtyServer() {
    close();
}

bool PtyServer::open(const QString& linkPath, QString* error) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        *error = systemError("cannot create a pseudo-terminal");
        return false;
    }
    const char* name = ptsname(master_);
    if (!name) {
        *error = systemError("cannot name the pseudo-terminal");
        return false;
    }
    terminalPath_ = QString::fromLocal8Bit(name);
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0 || !makeRaw(slave_)) {
        *error = systemError("cannot set the pseudo-terminal to raw mode");
        return false;
    }
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    if (!linkPath.isEmpty()) {
        QFile::remove(linkPath); // a link left by an earlier run
        if (!QFile::link(terminalPath_, linkPath)) {
            *error = QStringLiteral("cannot make the link %1 to %2").arg(linkPath, terminalPath_);
            return false;
        }
        linkPath_ = linkPath;
    }
    return true;
}

bool PtyServer::writeByte(unsigned char byte) {
    for (;;) {
        const ssize_t written = ::write(master_, &byte, 1);
        if (written == 1)
            return true;
        if (written < 0 && errno == EINTR)
            continue;
        return false;
    }
}

void PtyServer::close() {
    if (!linkPath_.isEmpty() && QFileInfo(linkPath_).isSymLink())
        QFile::remove(linkPath_);
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
    slave_ = master_ = -1;
}

} // namespace zuk::devsim
