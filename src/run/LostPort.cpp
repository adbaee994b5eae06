#include "run/LostPort.h"

#include "app/Program.h"
#include "run/EngravingRun.h"
#include "run/RunState.h"

namespace zuk {

namespace {

QString lostPortMessage(const QString& portName, bool jobKept) {
    QString text = QStringLiteral("Порт \"%1\" закрыт: связь с гравировальным устройством "
                                  "потеряна (устройство отключено или порт неисправен). Когда "
                                  "устройство снова будет подключено, выберите «Тест».")
                       .arg(portName);
    if (jobKept)
        text += QLatin1Char('\n') + jobKeptText();
    return text;
}

} // namespace

void closeLostPort(Program& program) {
    SerialPort& port = program.port;
    if (!port.lineLost())
        return;
    port.closePort();
    program.exchange.setLinkActive(false);
    program.timers.timer4 = false;
    // A run, going or paused by STOP, can no longer complete a command: it stops on its link
    // failure.
    const bool jobOpen = program.timers.optimizing || program.job.plan.isOpen();
    if (jobOpen)
        program.exchange.setLinkError(true);
    program.screen.showMessage(MessageKind::Error, lostPortMessage(port.portName(), jobOpen));
    if (jobOpen)
        faultStop(program);
    // With the port closed there is nothing to restart but the device: "Тест" opens the port
    // again once it is back.
    enterNoDeviceState(program);
}

} // namespace zuk
