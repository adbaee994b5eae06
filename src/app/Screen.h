#pragma once

#include <QPoint>
#include <QString>

#include "app/MenuLook.h"
#include "image/DialogChoices.h"
#include "image/PreparationChoices.h"
#include "run/LiveProgress.h"

#include <optional>

class QImage;
class QRect;

namespace zuk {

struct JobPreview;
class PreparationPreview;

enum class CursorShape {
    Default,   // the ordinary arrow, restored after a failure
    Busy,      // arrow with hourglass, set before long device commands
    Hourglass, // plain hourglass
    Arrow,     // plain arrow
};

// Text fields of the main window that the core writes into.
enum class Field {
    Edit3,       // service panel: stopped row reported by "How"
    Edit4,       // service panel: stopped column reported by "How"
    Edit5,       // service panel: sequence number after a greeting, "Reset eror" time-out
    Edit6,       // service panel: working-field height and width
    ErorCounter, // self-test panel: error count
    CountPosX,
    CountPosY,
    RealPosX,
    RealPosY,
    // Engraving plan: the row and column of the region search (hidden self-test panel)
    Label66,
    Label67,
};

// The icon of a message box: information, or a failure. A warning says that something the
// operator asked for was refused or that the program goes on with less (defaults, no progress
// record); an error that something failed: the device link, a file, the job.
enum class MessageKind { Information, Warning, Error };

// The operator's answer to the unfinished-job dialog.
struct RecoveryChoice {
    bool finish = true;   // finish the job (else ignore it and delete its recovery data)
    int warmUpCycles = 3; // warm-up series before the job goes on
    // "Ok" was pressed. A dialog closed otherwise (Escape, its close box, a termination)
    // decides nothing: the job stays pending.
    bool answered = true;
};

// Everything the core needs from the screen. The main window implements it; the tests and
// the headless tools implement it to record or print. The core never includes a widget.
class Screen {
public:
    virtual ~Screen() = default;

    // A modal message box with an OK button and the icon of its kind.
    virtual void showMessage(MessageKind kind, const QString& text) = 0;
    // Enables and disables the menu entries and the controls that follow them, shows or hides
    // STOP, as MenuStates decided for the state it entered.
    virtual void showMenus(const MenuLook& look) = 0;
    virtual void setCursor(CursorShape shape) = 0;
    virtual void beep() = 0;
    // Line 1 of the status memo.
    virtual void setStatusLine(const QString& text) = 0;
    // The progress gauge.
    virtual void setGauge(int progress, int maximum) = 0;
    virtual void setField(Field field, const QString& text) = 0;
    // Lets the window repaint and handle pending events during a long operation.
    virtual void processEvents() = 0;

    // The unfinished-job dialog ("Внимание !"), shown modally.
    virtual RecoveryChoice askRecoveryChoice() = 0;

    // Picture dialogs
    // The conversion-variant dialog ("ConvertForm"); nothing when it was closed without "Ok".
    virtual std::optional<ConversionVariant> askConversionVariant() = 0;
    // The picture open dialog: the chosen path, or empty when cancelled.
    virtual QString askPictureToOpen() = 0;
    // The picture save dialog: the name entered, or empty when cancelled.
    virtual QString askPictureSaveName() = 0;
    // The resolution and placement dialog ("Portret_Properties"), shown modally.
    virtual ResolutionChoice askResolutionAndPlacement() = 0;
    // The preparation dialog ("Подготовка рисунка") for the picture `preview` holds, modally,
    // starting from `choices`; it shows the dots `preview` makes of the choices as they change.
    // The choices when "OK" was pressed; nothing when it was closed another way.
    virtual std::optional<PreparationChoices> askPreparation(PreparationPreview& preview,
                                                             const PreparationChoices& choices) = 0;
    // The main window's caption.
    virtual void setCaption(const QString& text) = 0;
    // The working-field view has been redrawn; the window shows it.
    virtual void showFieldView(const QImage& view) = 0;
    // A picture has been placed on the field: the view scrolls to bring this part of it (the
    // picture) into sight, its centre in the middle of the visible part as far as the view
    // reaches.
    virtual void scrollFieldViewTo(const QRect& area) = 0;

    // Manual movement
    // Shows the panel `ChangeBox` ("Перемещение") just right of the field point where the
    // right button was pressed on a handle of the placement frame.
    virtual void showChangeBox(QPoint fieldPoint) = 0;
    // Time estimate of a job
    // The status bar: Label35 (the expected end) and Label37 (the duration), whole captions.
    virtual void setJobTimes(const QString& endTime, const QString& duration) = 0;
    // Engraving run
    // Only these pixels of the view changed (the marks of a strike line): the window repaints
    // just them.
    virtual void showFieldViewPart(const QImage& view, const QRect& changed) = 0;
    // The advice dialog "Eror message." after the run stopped on a link failure, modally.
    virtual void showFaultAdvice() = 0;
    // Live progress of a run
    // The status bar's progress line, beside the estimate: at most once a second while a job
    // runs, and once more when its last line is done.
    virtual void showRunProgress(const RunProgressFigures& figures) = 0;
    // Preview
    // The preview dialog with the plate and the job's estimated and modelled durations,
    // modally.
    virtual void showJobPreview(const JobPreview& preview) = 0;
};

} // namespace zuk
