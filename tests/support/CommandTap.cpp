#include "support/CommandTap.h"

#include "app/Settings.h"
#include "simulator/DeviceCommands.h"
#include "simulator/SimTransport.h"

namespace zuk::test {

namespace {

QString describe(const QByteArray& frame) {
    sim::FrameBytes bytes{};
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<quint8>(frame[i]);
    const sim::DeviceCommand command = sim::decodeCommand(bytes);
    const QString name = sim::commandName(command.kind);
    if (command.isMove())
        return name + QLatin1Char(' ') + QString::number(command.moveSteps());
    switch (command.kind) {
    case sim::CommandKind::NeedleDown:
        return name + QLatin1Char(' ') + QString::number(bytes[2]);
    case sim::CommandKind::ProgramX:
    case sim::CommandKind::ProgramY:
        return QStringLiteral("%1 %2 %3").arg(name, sim::hexByte(bytes[2])).arg(bytes[3]);
    case sim::CommandKind::StrikeTiming:
        return QStringLiteral("%1 %2 %3").arg(name, QChar(bytes[2])).arg(bytes[3]);
    default:
        return name;
    }
}

} // namespace

bool CommandTap::setParity(Parity parity) {
    parity_ = parity;
    return line_->setParity(parity);
}

bool CommandTap::writeByte(quint8 byte) {
    if (parity_ == Parity::Odd) {
        traffic_ << QStringLiteral("burst");
        frame_.clear();
    } else {
        frame_.append(static_cast<char>(byte));
        if (frame_.size() == 6) {
            traffic_ << describe(frame_);
            frame_.clear();
        }
    }
    return line_->writeByte(byte);
}

TransportFactory tappedEngraver(std::shared_ptr<sim::Engraver> engraver, Clock& clock,
                                QStringList& traffic) {
    return [engraver = std::move(engraver), &clock,
            &traffic](const QString& name) -> std::unique_ptr<ByteTransport> {
        if (!sim::isBuiltInPortName(name))
            return nullptr;
        return std::make_unique<CommandTap>(sim::openBuiltInEngraver(engraver, clock), traffic);
    };
}

void writeSimulatorConfiguration(const QString& directory, int resolutionIndex, QSize field) {
    Settings settings;
    settings.portName = QStringLiteral("sim");
    EngravingChoices choices;
    choices.resolutionIndex = resolutionIndex;
    if (field.isValid()) {
        settings.fieldWidth = field.width();
        settings.fieldHeight = field.height();
    }
    saveConfiguration(ProgramDir(directory), settings, choices);
}

QStringList moveTraffic(QPoint from, QPoint to) {
    QStringList moves;
    if (to.x() > from.x())
        moves << QStringLiteral("Left %1").arg(to.x() - from.x());
    else if (to.x() < from.x())
        moves << QStringLiteral("Right %1").arg(from.x() - to.x());
    if (to.y() > from.y())
        moves << QStringLiteral("StepUp %1").arg(2 * (to.y() - from.y()));
    else if (to.y() < from.y())
        moves << QStringLiteral("StepDown %1").arg(2 * (from.y() - to.y()));
    return moves;
}

} // namespace zuk::test
