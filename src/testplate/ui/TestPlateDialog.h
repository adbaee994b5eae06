#pragma once

#include "testplate/PlateSession.h"

#include <QDialog>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace zuk {

class Program;

// "Пробная пластина": the forces from, to and step, the patch size and the placement; the
// plate shown on the working field with its estimate; "Начать" strikes it job after job
// through the main window's own job start and timers, with one progress line across the jobs.
// A job that does not finish (STOP with "Завершить работу", a fault) stays kept as any job;
// the dialog then offers to go on from the next force once no job is left pending.
class TestPlateDialog : public QDialog {
    Q_OBJECT
public:
    // Runs a step as a handler of the main window when none is running; false (nothing done)
    // while one is.
    using WindowHandler = std::function<bool(const std::function<void()>&)>;

    TestPlateDialog(Program& program, WindowHandler handler, QWidget* parent = nullptr);
    ~TestPlateDialog() override;

    // The plate the controls ask for, laid out and estimated; false (told why) when it cannot
    // be.
    bool planPlate();
    // "Начать" and "Продолжить с силы N".
    void startClick();
    void continueClick();
    // One look at the run: the job's end taken in, the next job started, the progress shown.
    void followRun();

    std::optional<int> continueFrom() const { return continueFrom_; }
    bool running() const { return running_; }

private:
    QWidget* buildChoices();
    TestPlateChoices choicesShown() const;
    void showPlate();
    void startNextJob();
    void plateStopped(bool jobStruck);
    void showState(const QString& progress);

    Program& program_;
    WindowHandler handler_;
    std::unique_ptr<PlateSession> session_;
    std::optional<int> continueFrom_;
    // The plate runs: a job of it runs, or the next one waits for the window to be free.
    bool running_ = false;
    bool startedJob_ = false;
    QTimer follow_;

    QSpinBox* from_ = nullptr;
    QSpinBox* to_ = nullptr;
    QSpinBox* step_ = nullptr;
    QSpinBox* patch_ = nullptr;
    QSpinBox* place_ = nullptr;
    QScrollArea* preview_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* progress_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* continue_ = nullptr;
    QPushButton* close_ = nullptr;
};

} // namespace zuk
