#include "device/SerialPort.h"

#include <QRegularExpression>

namespace zuk {

bool SerialPort::openPort() {
    closePort();
    if (factory_)
        transport_ = factory_(portName_);
    if (transport_) {
        transport_->setLostHandler(lostHandler_);
        transport_->setWaitHook(waitHook_);
    }
    return isOpen();
}

void SerialPort::closePort() {
    transport_.reset();
}

void SerialPort::setOddParity() {
    if (transport_)
        transport_->setParity(Parity::Odd);
}

void SerialPort::setEvenParity() {
    if (transport_)
        transport_->setParity(Parity::Even);
}

bool SerialPort::writeByte(quint8 byte) {
    return transport_ && transport_->writeByte(byte);
}

bool SerialPort::readByte(quint8& byte) {
    if (!transport_)
        return false;
    const std::optional<quint8> got = transport_->readByte(kReadTimeoutMs);
    if (got)
        byte = *got;
    return got.has_value();
}

bool SerialPort::writeBytes(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return true;
    return transport_ && transport_->writeBytes(bytes);
}

QString devicePathForPort(const QString& portName) {
    static const QRegularExpression comPort(QStringLiteral("^com([1-8])$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = comPort.match(portName);
    if (!match.hasMatch())
        return portName;
    const int number = match.captured(1).toInt();
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

} // namespace zuk
