#pragma once

#include "app/Clock.h"
#include "app/Screen.h"
#include "run/Preview.h"

#include <QImage>
#include <QRect>
#include <QStringList>

#include <map>
#include <vector>

namespace zuk::test {

// A screen that records what the core shows, in order, as short lines such as
// "message: Ошибка связи." or "menu: link lost".
class RecordingScreen : public Screen {
public:
    void showMessage(MessageKind kind, const QString& text) override;
    void showMenus(const MenuLook& look) override;
    void setCursor(CursorShape shape) override;
    void beep() override;
    void setStatusLine(const QString& text) override;
    void setGauge(int progress, int maximum) override;
    void setField(Field field, const QString& text) override;
    void processEvents() override {}
    RecoveryChoice askRecoveryChoice() override;
    std::optional<ConversionVariant> askConversionVariant() override;
    QString askPictureToOpen() override;
    QString askPictureSaveName() override;
    ResolutionChoice askResolutionAndPlacement() override;
    // Records the choices shown; with an answer, has the preview make its dots first.
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

    // Answers of the modal dialogs.
    RecoveryChoice recoveryAnswer;
    std::optional<ConversionVariant> conversionAnswer = ConversionVariant::Combined;
    QString openAnswer;
    QString saveAnswer;
    ResolutionChoice resolutionAnswer{0, 5};
    std::optional<PreparationChoices> preparationAnswer; // nothing: closed without "OK"
    PreparationChoices preparationShown;                 // what the dialog started from
    std::optional<QString> preparationProblem;           // what its preview said
    QImage preparationDots;                              // the dots its preview showed
    QString caption;
    QImage fieldView;
    std::optional<QRect> scrolledTo;   // the field area the view was last scrolled to
    std::optional<QPoint> changeBoxAt; // where `ChangeBox` was last shown
    QString jobEndTime;                // Label35
    QString jobDuration;               // Label37

    QStringList events;
    QStringList messages;
    std::vector<MessageKind> messageKinds; // the kind of each of `messages`
    MenuState menuState = MenuState::LinkUp;
    MenuLook menus; // what the menus show now
    int beeps = 0;
    QString statusLine;
    int gaugeProgress = 0;
    int gaugeMaximum = 0;
    std::map<Field, QString> fields;
    // The view is not kept for every part: copying it would cost more than the run itself.
    std::vector<QRect> viewParts;
    int faultAdvices = 0;
    // Every showing of the progress line, with the time of the clock when one is set.
    struct ShownProgress {
        RunProgressFigures figures;
        qint64 atMs = 0;
    };
    std::vector<ShownProgress> runProgress;
    const Clock* clock = nullptr;
    std::optional<JobPreview> preview; // the last preview dialog's

    void clear();
};

} // namespace zuk::test
