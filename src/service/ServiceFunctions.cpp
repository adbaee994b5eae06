#include "service/ServiceFunctions.h"

#include "app/Program.h"

namespace zuk {

namespace {
constexpr int kWarmUpSteps = 20;
constexpr int kStrokesPerStep = 3;
constexpr int kGaugeStep = 5;
const QString kTestingFileName = QStringLiteral("testing.txt");
} // namespace

void testDevice(Program& program) {
    program.port.closePort();
    program.port.openPort();
    program.exchange.setLinkActive(true);
    program.exchange.greeting();
    if (!program.exchange.linkActive()) {
        // The greeting has shown why.
        program.menus.linkLost();
        program.exchange.setLinkError(true);
        return;
    }
    program.screen.showMessage(MessageKind::Information,
                               program.texts.status(StatusText::DeviceReady));
    program.menus.linkUp();
    program.exchange.setLinkError(false);
    const QString identification = program.commands.deviceText();
    program.screen.showMessage(MessageKind::Information,
                               program.texts.status(StatusText::DeviceFound) + QLatin1Char(' ') +
                                   identification);
    if (program.unfinishedJob)
        program.offerUnfinishedJob();
}

void warmUpSeries(Program& program) {
    Screen& screen = program.screen;
    const QString caption = program.texts.status(StatusText::WarmUp);
    QString lastText = caption;
    int progress = 0;
    screen.setGauge(progress, 100);
    for (int step = 0; step < kWarmUpSteps; ++step) {
        if (!program.exchange.linkError()) {
            for (int stroke = 0; stroke < kStrokesPerStep; ++stroke)
                program.commands.warmUpStroke();
            lastText = caption + QString::number(progress);
            screen.setStatusLine(lastText);
        }
        progress += kGaugeStep;
        screen.setGauge(progress, 100);
        screen.processEvents();
    }
    screen.setStatusLine(lastText);
    screen.setGauge(0, 100);
}

void switchSelfTesting(Program& program, bool on) {
    if (on) {
        if (!program.exchange.startSelfTesting(program.dir.path(kTestingFileName)))
            program.screen.showMessage(MessageKind::Error,
                                       QStringLiteral("Не удаётся создать файл ") +
                                           program.dir.path(kTestingFileName));
    } else {
        program.exchange.setSelfTesting(false);
    }
}

} // namespace zuk
