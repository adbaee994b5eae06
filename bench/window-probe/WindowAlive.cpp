// zuk-window-alive PORT [STOPS]: how alive the main window stays while the device works.
//
// The real main window, on the system clock, engraves full-width lines (1930 dots, ten seconds
// and more each at the device's own speed) on PORT, a zuk-devsim terminal at --speed 1. While
// the run goes on:
// - a timer of the window's thread, due every 10 ms, measures the longest time the window went
//   without handling its events (what it cannot repaint for);
// - another thread presses STOP (Delete, posted to the window) STOPS times at moments in the
//   middle of print lines, and the time until the window acknowledges it, the time until the
//   abort panel shows and the plan lines begun in between are taken; "Продолжить работу" then
//   goes on.
// Run by bench/window-alive, which starts the device and the display.
#include "app/Clock.h"
#include "app/PortOpener.h"
#include "app/Settings.h"
#include "app/ui/Windows.h"
#include "plan/ui/EngravingPanels.h"
#include "run/ui/AbortPanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

namespace {

using namespace zuk;

constexpr int kPictureWidth = 1930;
constexpr int kPictureRows = 40;
constexpr int kSampleMs = 10;
constexpr qint64 kReportedGapMs = 150;

// The main window with its picture dialogs answered and its message boxes printed.
class ProbeWindow : public TMenuForm {
public:
    using TMenuForm::TMenuForm;
    std::optional<ConversionVariant> askConversionVariant() override {
        return ConversionVariant::Combined;
    }
    QString askPictureToOpen() override { return picture; }
    ResolutionChoice askResolutionAndPlacement() override { return {0, 1}; }
    void showMessage(MessageKind, const QString& text) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    QString picture;
};

QString writeProgramDirectory(const QTemporaryDir& dir, const QString& port) {
    Settings settings;
    settings.portName = port;
    saveConfiguration(ProgramDir(dir.path()), settings);
    QImage picture(kPictureWidth, kPictureRows, QImage::Format_RGB32);
    for (int y = 0; y < kPictureRows; ++y)
        for (int x = 0; x < kPictureWidth; ++x)
            picture.setPixel(x, y, qRgb(40 + (x * 7 + y * 13) % 200, 0, 0));
    const QString path = dir.filePath(QStringLiteral("lines.bmp"));
    picture.save(path, "BMP");
    return path;
}

struct Figures {
    qint64 longestGapMs = 0;
    std::vector<qint64> acknowledgedMs;
    std::vector<qint64> panelMs;
    std::vector<int> linesBegunMeanwhile;
};

class StopProbe {
public:
    StopProbe(ProbeWindow& window, int stops) : window_(window), stops_(stops) {}

    // Runs until the job has ended or every STOP was measured.
    Figures run() {
        QTimer sampler;
        sampler.setInterval(kSampleMs);
        QElapsedTimer sinceLast;
        sinceLast.start();
        QObject::connect(&sampler, &QTimer::timeout, [&] { sample(sinceLast.restart()); });
        sampler.start();
        std::thread presser([this] { pressStopRepeatedly(); });
        QApplication::exec();
        done_ = true;
        presser.join();
        return figures_;
    }

private:
    void sample(qint64 gapMs) {
        figures_.longestGapMs = std::max(figures_.longestGapMs, gapMs);
        // Where the window went quiet: the plan line and the command last sent.
        if (gapMs > kReportedGapMs)
            std::fprintf(stderr, "%lld ms without events, up to line %d, command %s\n",
                         static_cast<long long>(gapMs), window_.program().job.planLineCounter,
                         qPrintable(window_.program().exchange.command().name));
        const qint64 now = clock_.elapsed();
        running_ = window_.program().timers.optimizing;
        lineCounter_ = window_.program().job.planLineCounter;
        const bool acknowledged = window_.findChild<QLabel*>(QStringLiteral("RunProgress"))
                                      ->text()
                                      .startsWith(QLatin1String("STOP"));
        if (pressedAt_ >= 0 && acknowledged && acknowledgedAt_ < 0)
            acknowledgedAt_ = now;
        if (pressedAt_ >= 0 && window_.engravingPanels().abortPanel().isVisible())
            takePanel(now);
        if (!window_.program().timers.optimizing && pressedAt_ < 0)
            QApplication::quit(); // the job has ended
    }

    void takePanel(qint64 now) {
        figures_.acknowledgedMs.push_back(acknowledgedAt_ < 0 ? -1 : acknowledgedAt_ - pressedAt_);
        figures_.panelMs.push_back(now - pressedAt_);
        figures_.linesBegunMeanwhile.push_back(window_.program().job.planLineCounter -
                                               linesAtPress_);
        pressedAt_ = acknowledgedAt_ = -1;
        window_.Button27Click(); // "Продолжить работу"
        if (int(figures_.panelMs.size()) >= stops_)
            QApplication::quit();
    }

    void pressStopRepeatedly() {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> wait(4000, 9000);
        while (!done_ && int(figures_.panelMs.size()) < stops_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(wait(random)));
            if (done_ || pressedAt_ >= 0 || !running_)
                continue;
            linesAtPress_ = lineCounter_.load();
            pressedAt_ = clock_.elapsed();
            QCoreApplication::postEvent(window_.windowHandle(),
                                        new QKeyEvent(QEvent::KeyPress, Qt::Key_Delete, {}));
        }
    }

    ProbeWindow& window_;
    int stops_;
    QElapsedTimer clock_ = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    Figures figures_;
    std::atomic<qint64> pressedAt_{-1};
    qint64 acknowledgedAt_ = -1;
    std::atomic<int> linesAtPress_{0};
    std::atomic<bool> done_{false};
    // What the window's thread last saw, for the thread that presses STOP.
    std::atomic<bool> running_{true};
    std::atomic<int> lineCounter_{0};
};

void print(const Figures& f) {
    QTextStream out(stdout);
    out << "longest time without handling events: " << f.longestGapMs << " ms\n";
    for (std::size_t i = 0; i < f.panelMs.size(); ++i)
        out << "STOP " << i + 1 << ": acknowledged after " << f.acknowledgedMs[i]
            << " ms, abort panel after " << f.panelMs[i] << " ms, plan lines begun meanwhile "
            << f.linesBegunMeanwhile[i] << "\n";
    if (!f.acknowledgedMs.empty())
        out << "longest acknowledgement: "
            << *std::max_element(f.acknowledgedMs.begin(), f.acknowledgedMs.end()) << " ms\n";
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2 || args[1] == QLatin1String("--help")) {
        std::fprintf(stderr, "usage: zuk-window-alive PORT [STOPS]\n");
        return args.size() < 2 ? 2 : 0;
    }
    QTemporaryDir dir;
    const QString picture = writeProgramDirectory(dir, args[1]);
    SystemClock clock;
    auto windows = createWindows<ProbeWindow>(clock, systemTransports(clock), dir.path());
    auto& window = static_cast<ProbeWindow&>(*windows->menuForm);
    window.picture = picture;
    window.show();
    window.OpenClick();
    window.Print1Click();
    window.Button17Click();
    if (!window.program().timers.optimizing) {
        std::fprintf(stderr, "zuk-window-alive: the job did not start\n");
        return 1;
    }
    StopProbe probe(window, args.size() > 2 ? args[2].toInt() : 5);
    print(probe.run());
    window.close();
    return 0;
}
