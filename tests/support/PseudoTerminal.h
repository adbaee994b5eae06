#pragma once

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace zuk::test {

// A pseudo-terminal pair: the test holds the master side, the transport opens the slave
// path as it would open a serial device.
class PseudoTerminal {
public:
    PseudoTerminal() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
            return;
        termios raw{};
        ::tcgetattr(master_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(master_, TCSANOW, &raw);
        path_ = QString::fromLocal8Bit(::ptsname(master_));
    }
    ~PseudoTerminal() { hangUp(); }
    // Closes the test's side, as a device side that goes away does.
    void hangUp() {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }
    const QString& path() const { return path_; }
    void send(const QByteArray& bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), bytes.size());
    }
    QByteArray receive(int count) {
        QByteArray bytes;
        for (int tries = 0; bytes.size() < count && tries < 200; ++tries) {
            char buffer[64];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0)
                bytes.append(buffer, n);
            else
                ::usleep(5000);
        }
        return bytes;
    }
    void makeNonBlocking() { ::fcntl(master_, F_SETFL, O_NONBLOCK); }
    int masterFd() const { return master_; }

private:
    int master_ = -1;
    QString path_;
};

} // namespace zuk::test
