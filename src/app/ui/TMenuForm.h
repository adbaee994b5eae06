#pragma once

#include "app/Program.h"
#include "app/Screen.h"
#include "run/Interruption.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <map>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QProgressBar;
class QScrollArea;
class QSpinBox;
class QCheckBox;
class QWidget;

namespace zuk {

class ChangeBox;
class EngravingPanels;
class FieldImage;
class GroupBox1;
class InputDuringHandler;
class ModalWindowCloser;
class TConvertForm;
class TForm1;
class TForm4;
class TForm5;
class TestPlateDialog;

// The main window. It owns the program's state and implements the screen the core talks
// to; its handlers call the core and show what it did.
class TMenuForm : public QMainWindow, public Screen {
    Q_OBJECT
public:
    TMenuForm(Clock& clock, TransportFactory transports, const QString& programDirectory,
              QWidget* parent = nullptr);
    ~TMenuForm() override;

    Program& program() { return program_; }
    // The dialogs the window shows, created after the main window in their own order.
    void attachForm1(TForm1* form1) { form1_ = form1; }
    void attachForm4(TForm4* form4) { form4_ = form4; }
    void attachForm5(TForm5* form5) { form5_ = form5; }
    void attachConvertForm(TConvertForm* convertForm) { convertForm_ = convertForm; }

    // --- Handlers ---
    void FormCreate();
    void OpenClick();
    // "Подготовка рисунка": the preparation dialog for the picture held.
    void Prepare1Click();
    void Save1Click();
    void CloseExit();
    void ComClick(int item); // Com11Click .. Com81Click
    void N5Click();          // "Тест"
    void N6Click();          // "Разогрев"
    void SelfTesting1Click();
    void HeadMoveClick();
    void N4Click();                            // "Геометрия"
    void GeometryButtonClick(int handlePoint); // Button7Click .. Button15Click: handle 1 .. 9
    void Button16Click();                      // "Завершить"
    // "Обвести рамку" ("Работа" menu and the geometry panel): the head around the picture.
    void FrameTraceClick();
    void Image1MouseDown(Qt::MouseButton button, QPoint point);
    void Image1MouseMove(QPoint point);
    void Image1MouseUp(QPoint point);
    void Image1DblClick(QPoint point);
    void About1Click();
    // "Гравировка": the engraving properties panel.
    void Print1Click();
    // "Отмена" on either properties panel.
    void BitBtn1Click();
    // "Работа" on either properties panel: the job start.
    void Button17Click();
    void Timer4Timer();
    void Timer3Timer();
    void CrushTimerTimer();
    // The unfinished-job dialog at its creation.
    void offerUnfinishedJob();
    // A termination signal (SIGTERM, SIGINT, SIGHUP) arrived: the one place that decides how
    // the program ends on it.
    void terminationRequested();
    // The serial port went away by itself (the device unplugged): told by the port, run when
    // no other handler runs.
    void portLost();
    // Engraving run
    void OptimizingTimer();
    // STOP (menu entry, Delete key): pauses the run and shows the abort panel as the layout
    // says (kept in lastAbortLayout()).
    void STOPClick();
    // "Продолжить работу" (Button27, Button30) and "Завершить работу" (Button28, Button31);
    // both hide the abort panel.
    void Button27Click();
    void Button28Click();
    const AbortPanelLayout& lastAbortLayout() const { return lastAbortLayout_; }
    // Preview
    // "Предпросмотр": the job run on a simulated engraver, its plate and times in a dialog.
    void Preview1Click();
    // "Пробная пластина": the force test plate's window, struck through the window's own job
    // start and timers.
    void TestPlate1Click();
    // Runs `step` as a handler of the window when none runs; false (nothing done) while one
    // does.
    bool runAsHandler(const std::function<void()>& step);
    // Journal
    // "Журнал работ": the journal of jobs, newest first, with the machine time of each day.
    void Journal1Click();

    // --- Screen ---
    void showMessage(MessageKind kind, const QString& text) override;
    void showMenus(const MenuLook& look) override;
    void setCursor(CursorShape shape) override;
    void beep() override;
    void setStatusLine(const QString& text) override;
    void setGauge(int progress, int maximum) override;
    void setField(Field field, const QString& text) override;
    void processEvents() override;
    RecoveryChoice askRecoveryChoice() override;
    std::optional<ConversionVariant> askConversionVariant() override;
    QString askPictureToOpen() override;
    QString askPictureSaveName() override;
    ResolutionChoice askResolutionAndPlacement() override;
    std::optional<PreparationChoices> askPreparation(PreparationPreview& preview,
                                                     const PreparationChoices& choices) override;
    void setCaption(const QString& text) override;
    void showFieldView(const QImage& view) override;
    void scrollFieldViewTo(const QRect& area) override;
    void showChangeBox(QPoint fieldPoint) override;
    // Time estimate of a job
    void setJobTimes(const QString& endTime, const QString& duration) override;
    // Engraving run
    void showFieldViewPart(const QImage& view, const QRect& changed) override;
    void showFaultAdvice() override;
    // Live progress of a run
    void showRunProgress(const RunProgressFigures& figures) override;
    // Preview
    void showJobPreview(const JobPreview& preview) override;

    // A top-level menu entry, found by its name.
    QAction* menuEntry(MenuEntry entry) const;
    QAction* findAction(const QString& objectName) const;
    QTimer& timer(const char* name);
    FieldImage* fieldImage() const { return image1_; }
    QScrollArea* scrollBox1() const { return scrollBox1_; }
    ChangeBox* changeBox() const { return changeBox_; }
    GroupBox1* groupBox1() const { return groupBox1_; }
    EngravingPanels& engravingPanels() { return *engravingPanels_; }
    QString statusLine() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void addFileMenu(QMenuBar* bar);
    void addServiceAndWorkMenus(QMenuBar* bar);
    void addSettingsMenu(QMenuBar* bar);
    void addPortMenu(QMenuBar* bar);
    void addPlacementMenu(QMenuBar* bar);
    QAction* addTestHelpAndStop(QMenuBar* bar);
    void buildBody();
    QWidget* buildServicePanel();
    QWidget* buildSelfTestingPanel();
    void buildMovementPanels();
    QWidget* buildStatusBar(QWidget* parent);
    void buildEngravingPanels();
    QAction* addItem(QMenu* menu, const char* objectName, const QString& text,
                     void (TMenuForm::*handler)() = nullptr);
    // Runs a handler and then lets the timers follow the program's decisions.
    template <typename F> void handle(F&& f);
    // What the operator did while the handler ran: STOP, the close box, the rest of the input.
    void takeInputOfTheHandler();
    // The window stays alive inside a handler (the device waited for, a long step).
    void keepAliveInHandler();
    void syncTimers();
    void showCheckedPort();
    // The field view: a point of the field in the middle of the visible part, as far as the
    // view reaches; whether the middle of an area of the field is in sight; the run's marks.
    void centreFieldViewOn(QPoint fieldPoint);
    bool inSight(const QRect& fieldArea) const;
    void followMarks(const QRect& marks);

    Program program_;
    bool closed_ = false;
    // Handlers running (more than one while a modal dialog of one runs another).
    int handlersRunning_ = 0;
    // The port went away while a handler ran: dealt with once the handlers have returned.
    bool portLostPending_ = false;
    // Set by a termination signal: no operator is there to answer message boxes or dialogs.
    ModalWindowCloser* terminating_ = nullptr;
    InputDuringHandler* inputDuringHandler_ = nullptr;
    QElapsedTimer sinceEventsHandled_;
    TForm1* form1_ = nullptr;
    TForm4* form4_ = nullptr;
    TForm5* form5_ = nullptr;
    TConvertForm* convertForm_ = nullptr;
    QPointer<TestPlateDialog> testPlateDialog_;

    QTimer optimizing_;
    QTimer crushTimer_;
    QTimer timer3_;
    QTimer timer4_;

    QScrollArea* scrollBox1_ = nullptr;
    FieldImage* image1_ = nullptr;
    ChangeBox* changeBox_ = nullptr;
    GroupBox1* groupBox1_ = nullptr;
    EngravingPanels* engravingPanels_ = nullptr;
    QLabel* label35_ = nullptr;
    QLabel* label37_ = nullptr;
    QLabel* runProgress_ = nullptr;
    QPlainTextEdit* memo1_ = nullptr;
    QProgressBar* gauge1_ = nullptr;
    QWidget* selfTestingPanel_ = nullptr;
    QCheckBox* stepControlCheckBox_ = nullptr;
    QSpinBox* erorCounterEdit_ = nullptr;
    std::map<Field, QLineEdit*> fields_;
    std::map<Field, QLabel*> labels_;
    AbortPanelLayout lastAbortLayout_;
    // The view follows the next marks of a run (it was drawn anew or brought to the job);
    // where the last marks were.
    bool followMarks_ = true;
    QRect lastMarks_;
};

} // namespace zuk
