#include "app/ui/TMenuForm.h"

#include "app/Language.h"
#include "app/ui/FieldImage.h"
#include "app/ui/InputDuringHandler.h"
#include "app/ui/MenuKeys.h"
#include "app/ui/ModalWindowCloser.h"
#include "app/ui/TAboutBox.h"
#include "app/ui/TForm4.h"
#include "image/ui/PictureFileDialogs.h"
#include "image/ui/PreparationDialog.h"
#include "image/ui/TConvertForm.h"
#include "image/ui/TForm5.h"
#include "journal/ui/JournalWindow.h"
#include "plan/ui/EngravingPanels.h"
#include "run/JobRunner.h"
#include "run/LostPort.h"
#include "run/Preview.h"
#include "run/ui/AbortPanel.h"
#include "run/ui/PreviewDialog.h"
#include "run/ui/TForm1.h"
#include "service/ServiceFunctions.h"
#include "service/ui/ChangeBox.h"
#include "service/ui/GroupBox1.h"
#include "service/ui/PanelPlacement.h"
#include "testplate/ui/TestPlateDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDebug>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>

namespace zuk {

TMenuForm::TMenuForm(Clock& clock, TransportFactory transports, const QString& programDirectory,
                     QWidget* parent)
    : QMainWindow(parent),
      program_(*this, clock, std::move(transports), ProgramDir(programDirectory)) {
    setObjectName(QStringLiteral("MenuForm"));
    setWindowTitle(QStringLiteral("ZUK 5.6"));
    buildMenu();
    buildBody();
    optimizing_.setObjectName(QStringLiteral("Optimizing"));
    optimizing_.setInterval(1);
    crushTimer_.setObjectName(QStringLiteral("CrushTimer"));
    crushTimer_.setInterval(10);
    timer3_.setObjectName(QStringLiteral("Timer3"));
    timer3_.setInterval(1);
    timer4_.setObjectName(QStringLiteral("Timer4"));
    timer4_.setInterval(Program::kKeepAliveIntervalMs);
    connect(&optimizing_, &QTimer::timeout, this,
            [this] { handle([this] { OptimizingTimer(); }); });
    connect(&crushTimer_, &QTimer::timeout, this,
            [this] { handle([this] { CrushTimerTimer(); }); });
    connect(&timer3_, &QTimer::timeout, this, [this] { handle([this] { Timer3Timer(); }); });
    connect(&timer4_, &QTimer::timeout, this, [this] { handle([this] { Timer4Timer(); }); });
    // The port may tell from inside one of its calls: the handler runs from the event loop.
    program_.port.setLostHandler(
        [this] { QMetaObject::invokeMethod(this, &TMenuForm::portLost, Qt::QueuedConnection); });
    inputDuringHandler_ = new InputDuringHandler(*this, *menuEntry(MenuEntry::Stop), [this] {
        runProgress_->setText(QStringLiteral("STOP: работа остановится после текущей строки"));
    });
    program_.port.setWaitHook([this] { keepAliveInHandler(); });
    sinceEventsHandled_.start();
}

TMenuForm::~TMenuForm() = default;

template <typename F> void TMenuForm::handle(F&& f) {
    // A tick that shows a message box must not be re-entered by its own timer: every timer
    // is stopped while a handler runs and started again as the program decides.
    optimizing_.stop();
    crushTimer_.stop();
    timer3_.stop();
    timer4_.stop();
    ++handlersRunning_;
    f();
    --handlersRunning_;
    syncTimers();
    if (handlersRunning_ == 0)
        takeInputOfTheHandler();
    // A termination signal that came while the handler ran closes the window now.
    if (terminating_ && handlersRunning_ == 0 && !closed_)
        close();
    if (portLostPending_ && handlersRunning_ == 0 && !closed_)
        portLost();
}

// Called after every read of the device and while one waits: the window handles its events
// at most every kWaitSliceMs.
void TMenuForm::keepAliveInHandler() {
    if (handlersRunning_ == 0 || sinceEventsHandled_.elapsed() < ByteTransport::kWaitSliceMs)
        return;
    inputDuringHandler_->handleEvents();
    sinceEventsHandled_.restart();
}

// STOP first, between two plan lines; the close box after it; the rest of the input is
// handled by the event loop after the handler.
void TMenuForm::takeInputOfTheHandler() {
    const bool stop = inputDuringHandler_->takeStopRequest();
    const bool close = inputDuringHandler_->takeCloseRequest();
    inputDuringHandler_->releaseHeldInput();
    if (stop && !closed_)
        STOPClick();
    if (close && !closed_)
        this->close();
}

void TMenuForm::syncTimers() {
    const auto follow = [](QTimer& timer, bool enabled) {
        if (enabled && !timer.isActive())
            timer.start();
        else if (!enabled && timer.isActive())
            timer.stop();
    };
    follow(optimizing_, program_.timers.optimizing);
    follow(crushTimer_, program_.timers.crush);
    follow(timer3_, program_.timers.timer3);
    follow(timer4_, program_.timers.timer4);
}

QTimer& TMenuForm::timer(const char* name) {
    for (QTimer* t : {&optimizing_, &crushTimer_, &timer3_, &timer4_})
        if (t->objectName() == QLatin1String(name))
            return *t;
    return timer4_;
}

// --- Handlers ---

void TMenuForm::FormCreate() {
    handle([this] {
        program_.formCreate();
        showCheckedPort();
        applyLanguageCaptions(program_.texts, LanguageWindow::Main, this);
        // Captions the language file gave have no mnemonic yet.
        assignMnemonics(*menuBar(), menuEntry(MenuEntry::Stop));
    });
}

void TMenuForm::OpenClick() {
    handle([this] {
        program_.image.openClick();
        if (program_.pictureOpened)
            findAction(QStringLiteral("SelfTesting1"))->setEnabled(true);
        findAction(QStringLiteral("Preview1"))->setEnabled(program_.image.holdsPicture());
    });
}

void TMenuForm::Prepare1Click() {
    handle([this] { program_.image.prepareClick(); });
}

void TMenuForm::Save1Click() {
    handle([this] { program_.image.save1Click(); });
}

void TMenuForm::CloseExit() {
    close();
}

void TMenuForm::ComClick(int item) {
    handle([this, item] {
        program_.comPortClick(item);
        showCheckedPort();
    });
}

// "Com1" .. "Com8" show the item the settings check, or none for any other port name.
void TMenuForm::showCheckedPort() {
    for (int i = 1; i <= kPortItemCount; ++i)
        findAction(QStringLiteral("Com%1").arg(i) + QLatin1Char('1'))
            ->setChecked(i == program_.settings.checkedPort);
}

void TMenuForm::N5Click() {
    handle([this] { testDevice(program_); });
}

void TMenuForm::N6Click() {
    handle([this] { warmUpSeries(program_); });
}

void TMenuForm::SelfTesting1Click() {
    handle([this] {
        const bool on = findAction(QStringLiteral("SelfTesting1"))->isChecked();
        selfTestingPanel_->setVisible(on);
        switchSelfTesting(program_, on);
    });
}

void TMenuForm::HeadMoveClick() {
    // The item checks and unchecks itself.
    program_.movement.choices.headMove = findAction(QStringLiteral("HeadMove"))->isChecked();
}

// --- Manual movement ---

// The panel sits at the visible top left of the view, or beside the placed picture where it
// would cover it there.
void TMenuForm::N4Click() {
    // The geometry panel holds the window until "Завершить".
    program_.menus.work(false);
    const QPoint scrolled(scrollBox1_->horizontalScrollBar()->value(),
                          scrollBox1_->verticalScrollBar()->value());
    QRect picture;
    if (program_.image.holdsPicture())
        picture = frameWithHandles(program_.image.placement()).translated(image1_->pos());
    groupBox1_->adjustSize();
    showPanelAt(*groupBox1_, clearOf(picture, groupBox1_->size(), scrollBox1_->viewport()->rect(),
                                     image1_->pos() + scrolled + QPoint(5, 5)));
}

void TMenuForm::GeometryButtonClick(int handlePoint) {
    handle([this, handlePoint] { program_.movement.geometryButtonClick(handlePoint); });
}

void TMenuForm::FrameTraceClick() {
    handle([this] { program_.frame.trace(); });
}

void TMenuForm::Button16Click() {
    program_.menus.idle(program_.exchange.linkActive());
    groupBox1_->hide();
}

namespace {
MouseButton movementButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::RightButton:
        return MouseButton::Right;
    default:
        return MouseButton::Other;
    }
}
} // namespace

void TMenuForm::Image1MouseDown(Qt::MouseButton button, QPoint point) {
    handle([this, button, point] {
        program_.movement.image1MouseDown(movementButton(button), point);
    });
}

void TMenuForm::Image1MouseMove(QPoint point) {
    // No device command: the timers need not stop for it.
    program_.movement.image1MouseMove(point);
}

void TMenuForm::Image1MouseUp(QPoint) {
    program_.movement.image1MouseUp();
}

void TMenuForm::Image1DblClick(QPoint) {
    handle([this] { program_.movement.image1DblClick(); });
}

void TMenuForm::About1Click() {
    TAboutBox about(program_.texts, readAboutTexts(program_.dir), this);
    about.exec();
}

void TMenuForm::Print1Click() {
    handle([this] { engravingPanels_->properties().print1Click(); });
}

void TMenuForm::BitBtn1Click() {
    handle([this] { engravingPanels_->properties().bitBtn1Click(); });
}

void TMenuForm::Button17Click() {
    handle([this] { engravingPanels_->properties().button17Click(); });
}

void TMenuForm::Preview1Click() {
    handle([this] { previewClick(program_); });
}

void TMenuForm::TestPlate1Click() {
    handle([this] {
        if (!testPlateDialog_)
            testPlateDialog_ = new TestPlateDialog(
                program_, [this](const std::function<void()>& step) { return runAsHandler(step); },
                this);
        if (!testPlateDialog_->running())
            testPlateDialog_->planPlate();
        testPlateDialog_->show();
        testPlateDialog_->raise();
    });
}

bool TMenuForm::runAsHandler(const std::function<void()>& step) {
    if (handlersRunning_ > 0 || closed_)
        return false;
    handle(step);
    return true;
}

void TMenuForm::Journal1Click() {
    handle([this] { showJournalWindow(program_, this); });
}

void TMenuForm::offerUnfinishedJob() {
    handle([this] { program_.offerUnfinishedJob(); });
}

// The window closes as "Выход" closes it: EndPrint, Off, port closed, Zuk.ini written. The
// shutdown never runs in the middle of a handler: an open dialog is closed as if cancelled,
// and the window closes once the handler has returned. From here on message boxes go to the
// error output and dialogs close at once, so that nothing waits for an absent operator.
void TMenuForm::terminationRequested() {
    if (!terminating_)
        terminating_ = new ModalWindowCloser(this);
    if (handlersRunning_ == 0)
        CloseExit();
}

void TMenuForm::portLost() {
    if (closed_)
        return;
    if (handlersRunning_ > 0) {
        portLostPending_ = true;
        return;
    }
    portLostPending_ = false;
    handle([this] {
        closeLostPort(program_);
        if (!program_.job.plan.isOpen())
            engravingPanels_->abortPanel().hide();
    });
}

void TMenuForm::Timer4Timer() {
    program_.timer4Timer();
}
// The job's timers tick as a JobRunner steps them: one tick, and through handle() nothing else
// runs during it.
void TMenuForm::Timer3Timer() {
    tickJobTimer(program_, JobTimer::Timer3);
}
void TMenuForm::CrushTimerTimer() {
    tickJobTimer(program_, JobTimer::Crush);
}

void TMenuForm::OptimizingTimer() {
    tickJobTimer(program_, JobTimer::Optimizing);
}

void TMenuForm::STOPClick() {
    handle([this] {
        lastAbortLayout_ = stopClick(program_, menuEntry(MenuEntry::Stop)->isVisible());
        engravingPanels_->showAbortLayout(lastAbortLayout_);
    });
}

void TMenuForm::Button27Click() {
    handle([this] {
        continueWork(program_);
        engravingPanels_->abortPanel().hide();
    });
}

void TMenuForm::Button28Click() {
    handle([this] {
        finishWork(program_);
        engravingPanels_->abortPanel().hide();
    });
}

void TMenuForm::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        handle([this] {
            interruptRunOnClose(program_);
            program_.formClose();
        });
        optimizing_.stop();
        crushTimer_.stop();
        timer3_.stop();
        timer4_.stop();
    }
    event->accept();
}

// --- Screen ---

void TMenuForm::showMessage(MessageKind kind, const QString& text) {
    if (terminating_) {
        qWarning().noquote() << text;
        return;
    }
    switch (kind) {
    case MessageKind::Information:
        QMessageBox::information(this, kApplicationTitle, text);
        return;
    case MessageKind::Warning:
        QMessageBox::warning(this, kApplicationTitle, text);
        return;
    case MessageKind::Error:
        QMessageBox::critical(this, kApplicationTitle, text);
        return;
    }
}

void TMenuForm::showMenus(const MenuLook& look) {
    for (int k = 0; k < kMenuEntryCount; ++k) {
        const auto entry = static_cast<MenuEntry>(k);
        menuEntry(entry)->setEnabled(look.isEnabled(entry));
    }
    menuEntry(MenuEntry::Stop)->setVisible(look.stopShown);
    image1_->setEnabled(look.pictureEnabled);
    changeBox_->setNeedleControlsEnabled(look.needleControlsEnabled);
}

void TMenuForm::setCursor(CursorShape shape) {
    Qt::CursorShape qtShape = Qt::ArrowCursor;
    switch (shape) {
    case CursorShape::Default:
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        return;
    case CursorShape::Busy:
        qtShape = Qt::BusyCursor;
        break;
    case CursorShape::Hourglass:
        qtShape = Qt::WaitCursor;
        break;
    case CursorShape::Arrow:
        qtShape = Qt::ArrowCursor;
        break;
    }
    if (QApplication::overrideCursor())
        QApplication::changeOverrideCursor(qtShape);
    else
        QApplication::setOverrideCursor(qtShape);
}

void TMenuForm::beep() {
    QApplication::beep();
}

void TMenuForm::setStatusLine(const QString& text) {
    memo1_->setPlainText(text);
}

QString TMenuForm::statusLine() const {
    return memo1_->toPlainText();
}

void TMenuForm::setGauge(int progress, int maximum) {
    gauge1_->setMaximum(std::max(maximum, 1));
    gauge1_->setValue(std::clamp(progress, 0, gauge1_->maximum()));
}

void TMenuForm::setField(Field field, const QString& text) {
    if (field == Field::ErorCounter) {
        erorCounterEdit_->setValue(text.toInt());
        return;
    }
    if (auto it = fields_.find(field); it != fields_.end())
        it->second->setText(text);
    if (auto it = labels_.find(field); it != labels_.end())
        it->second->setText(text);
}

void TMenuForm::processEvents() {
    if (handlersRunning_ > 0)
        inputDuringHandler_->handleEvents();
    else
        QCoreApplication::processEvents();
}

RecoveryChoice TMenuForm::askRecoveryChoice() {
    return form1_ ? form1_->choose() : RecoveryChoice{};
}

std::optional<ConversionVariant> TMenuForm::askConversionVariant() {
    if (!convertForm_)
        return std::nullopt;
    return convertForm_->choose();
}

QString TMenuForm::askPictureToOpen() {
    return choosePictureToOpen(this);
}

QString TMenuForm::askPictureSaveName() {
    return choosePictureSaveName(this);
}

ResolutionChoice TMenuForm::askResolutionAndPlacement() {
    if (!form5_)
        return ResolutionChoice{program_.choices.resolutionIndex, 0};
    return form5_->choose();
}

std::optional<PreparationChoices> TMenuForm::askPreparation(PreparationPreview& preview,
                                                            const PreparationChoices& choices) {
    PreparationDialog dialog(preview, choices, this);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choices();
}

void TMenuForm::setCaption(const QString& text) {
    setWindowTitle(text);
}

void TMenuForm::showFieldView(const QImage& view) {
    image1_->setImage(view);
    followMarks_ = true;
}

void TMenuForm::scrollFieldViewTo(const QRect& area) {
    centreFieldViewOn(area.center());
    followMarks_ = true;
}

void TMenuForm::centreFieldViewOn(QPoint fieldPoint) {
    // The scroll bars keep the values inside their ranges: a picture at the field's edge is
    // shown as near the middle as the view reaches.
    const QSize visible = scrollBox1_->viewport()->size();
    scrollBox1_->horizontalScrollBar()->setValue(fieldPoint.x() - visible.width() / 2);
    scrollBox1_->verticalScrollBar()->setValue(fieldPoint.y() - visible.height() / 2);
}

bool TMenuForm::inSight(const QRect& fieldArea) const {
    const QRect visible(-image1_->pos(), scrollBox1_->viewport()->size());
    return visible.contains(fieldArea.center());
}

// The view follows the head while the operator watches it: the first marks after the view was
// drawn anew or brought to the job, and the marks after marks still in sight, are brought into
// sight; marks the operator has scrolled away from are left where he left them.
void TMenuForm::followMarks(const QRect& marks) {
    const bool follow = followMarks_ || inSight(lastMarks_);
    followMarks_ = false;
    lastMarks_ = marks;
    if (follow && !inSight(marks))
        centreFieldViewOn(marks.center());
}

void TMenuForm::showChangeBox(QPoint fieldPoint) {
    // Beside the pressed point as the scroll box shows it now.
    showPanelAt(*changeBox_, image1_->pos() + fieldPoint + QPoint(20, 0));
}

void TMenuForm::setJobTimes(const QString& endTime, const QString& duration) {
    label35_->setText(endTime);
    label37_->setText(duration);
}

void TMenuForm::showFieldViewPart(const QImage& view, const QRect& changed) {
    image1_->updatePart(view, changed);
    followMarks(changed);
}

void TMenuForm::showFaultAdvice() {
    if (form4_)
        form4_->exec();
}

void TMenuForm::showJobPreview(const JobPreview& preview) {
    PreviewDialog dialog(preview, this);
    dialog.exec();
}

void TMenuForm::showRunProgress(const RunProgressFigures& figures) {
    runProgress_->setText(runProgressText(figures, QLocale::system()));
}

QAction* TMenuForm::menuEntry(MenuEntry entry) const {
    QAction* action = findAction(menuEntryName(entry));
    Q_ASSERT(action);
    return action;
}

QAction* TMenuForm::findAction(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

} // namespace zuk
