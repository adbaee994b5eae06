#include "app/TerminationSignals.h"
#include "app/ui/Windows.h"
#include "support/ScriptedLine.h"

#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace zuk::test {
namespace {

TEST(TerminationSignalsTest, EachSignalIsDeliveredInTheEventLoop) {
    TerminationSignals termination;
    ASSERT_TRUE(termination.installed());
    QSignalSpy spy(&termination, &TerminationSignals::requested);
    termination.deliver();
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        spy.clear();
        ASSERT_EQ(std::raise(signalNumber), 0);
        // Nothing happens inside the handler: the request arrives with the event loop.
        EXPECT_EQ(spy.count(), 0);
        ASSERT_TRUE(spy.wait(2000)) << signalNumber;
        EXPECT_EQ(spy.count(), 1);
        EXPECT_EQ(spy.at(0).at(0).toInt(), signalNumber);
    }
}

TEST(TerminationSignalsTest, SignalsBeforeDeliveryWaitForIt) {
    TerminationSignals termination;
    QSignalSpy spy(&termination, &TerminationSignals::requested);
    ASSERT_EQ(std::raise(SIGTERM), 0);
    ASSERT_EQ(std::raise(SIGHUP), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(spy.count(), 0);
    termination.deliver();
    ASSERT_TRUE(spy.wait(2000));
    // Both arrived before the loop read them: one request, naming the last.
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), SIGHUP);
}

// The main window with the picture dialog observed by the test.
class ObservedMenuForm : public TMenuForm {
public:
    using TMenuForm::TMenuForm;
    void showMessage(MessageKind, const QString& text) override { messages << text; }
    QString askPictureToOpen() override {
        if (beforePictureDialog)
            beforePictureDialog();
        return TMenuForm::askPictureToOpen();
    }
    std::function<void()> beforePictureDialog;
    QStringList messages;
};

class TerminationTest : public ::testing::Test {
protected:
    std::unique_ptr<Windows> create() {
        // Greeting, two motor drivers, 101 timing greetings and the homing, then EndPrint
        // and Off at the close.
        for (int s = 0; s < 107; ++s)
            line.answer({0xA0 + (s & 15), 0x50 + (s & 15)});
        auto windows = createWindows<ObservedMenuForm>(clock, line.factory(), dir.path());
        QFile::remove(iniPath());
        line.takeWritten();
        return windows;
    }
    ObservedMenuForm& form(Windows& w) { return static_cast<ObservedMenuForm&>(*w.menuForm); }
    QString iniPath() const { return dir.filePath(QStringLiteral("Zuk.ini")); }
    // The shutdown sent "EndPrint" and then "Off".
    bool switchedOff() const {
        const QByteArray written = line.writtenBytes().toHex();
        const qsizetype endPrint = written.indexOf("1b390000");
        return endPrint >= 0 && written.indexOf("1bfd0101", endPrint) > endPrint;
    }

    QTemporaryDir dir;
    VirtualClock clock;
    ScriptedLine line{clock};
};

TEST_F(TerminationTest, IdleWindowClosesAsExitDoes) {
    auto windows = create();
    form(*windows).show();
    form(*windows).terminationRequested();
    EXPECT_FALSE(form(*windows).isVisible());
    EXPECT_TRUE(switchedOff());
    EXPECT_TRUE(QFile::exists(iniPath()));
    EXPECT_TRUE(form(*windows).messages.isEmpty());
}

TEST_F(TerminationTest, WithinAHandlerTheDialogsCloseAndTheWindowClosesAfterIt) {
    auto windows = create();
    ObservedMenuForm& menu = form(*windows);
    bool pictureDialogAsked = false;
    bool closedBeforeTheHandlerEnded = false;
    menu.beforePictureDialog = [&] {
        pictureDialogAsked = true;
        closedBeforeTheHandlerEnded = QFile::exists(iniPath());
    };
    // Should a dialog stay open, the test closes it itself and fails instead of hanging.
    bool dialogLeftOpen = false;
    QTimer watchdog;
    watchdog.setInterval(5000);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            dialogLeftOpen = true;
            modal->close();
        }
    });
    watchdog.start();
    // The signal arrives while the conversion-variant dialog waits for the operator.
    QTimer::singleShot(0, &menu, [&] { menu.terminationRequested(); });

    menu.OpenClick();

    EXPECT_FALSE(dialogLeftOpen);
    EXPECT_TRUE(pictureDialogAsked);
    EXPECT_FALSE(closedBeforeTheHandlerEnded);
    EXPECT_TRUE(QFile::exists(iniPath()));
    EXPECT_TRUE(switchedOff());
    EXPECT_FALSE(menu.program().image.holdsPicture());
    EXPECT_FALSE(menu.timer("Timer4").isActive());
}

} // namespace
} // namespace zuk::test
