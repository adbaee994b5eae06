#include "support/RecordingScreen.h"

#include "image/PreparationPreview.h"

namespace zuk::test {

namespace {
QString menuStateName(MenuState state) {
    switch (state) {
    case MenuState::NoDevice:
        return QStringLiteral("no device");
    case MenuState::LinkLost:
        return QStringLiteral("link lost");
    case MenuState::LinkUp:
        return QStringLiteral("link up");
    case MenuState::Work:
        return QStringLiteral("work");
    case MenuState::Paused:
        return QStringLiteral("paused");
    case MenuState::PreparingRun:
        return QStringLiteral("preparing the run");
    }
    return {};
}
} // namespace

void RecordingScreen::showMessage(MessageKind kind, const QString& text) {
    messages << text;
    messageKinds.push_back(kind);
    events << QStringLiteral("message: ") + text;
}

void RecordingScreen::showMenus(const MenuLook& look) {
    menuState = look.state;
    menus = look;
    const bool running = look.state == MenuState::Work && look.stopShown;
    events << QStringLiteral("menu: ") + menuStateName(look.state) +
                  (running ? QStringLiteral(" (running)") : QString());
}

void RecordingScreen::setCursor(CursorShape shape) {
    events << QStringLiteral("cursor: %1").arg(static_cast<int>(shape));
}

void RecordingScreen::beep() {
    ++beeps;
}

void RecordingScreen::setStatusLine(const QString& text) {
    statusLine = text;
    events << QStringLiteral("status: ") + text;
}

void RecordingScreen::setGauge(int progress, int maximum) {
    gaugeProgress = progress;
    gaugeMaximum = maximum;
}

void RecordingScreen::setField(Field field, const QString& text) {
    fields[field] = text;
}

RecoveryChoice RecordingScreen::askRecoveryChoice() {
    events << QStringLiteral("ask: recovery");
    return recoveryAnswer;
}

std::optional<ConversionVariant> RecordingScreen::askConversionVariant() {
    events << QStringLiteral("ask: conversion variant");
    return conversionAnswer;
}

QString RecordingScreen::askPictureToOpen() {
    events << QStringLiteral("ask: picture to open");
    return openAnswer;
}

QString RecordingScreen::askPictureSaveName() {
    events << QStringLiteral("ask: picture save name");
    return saveAnswer;
}

ResolutionChoice RecordingScreen::askResolutionAndPlacement() {
    events << QStringLiteral("ask: resolution and placement");
    return resolutionAnswer;
}

std::optional<PreparationChoices>
RecordingScreen::askPreparation(PreparationPreview& preview, const PreparationChoices& choices) {
    events << QStringLiteral("ask: preparation");
    preparationShown = choices;
    if (preparationAnswer) {
        preparationProblem = preview.prepare(*preparationAnswer);
        preparationDots = preview.dots();
    }
    return preparationAnswer;
}

void RecordingScreen::setCaption(const QString& text) {
    caption = text;
}

void RecordingScreen::showFieldView(const QImage& view) {
    fieldView = view;
}

void RecordingScreen::scrollFieldViewTo(const QRect& area) {
    scrolledTo = area;
    events << QStringLiteral("scroll: %1, %2, %3 x %4")
                  .arg(area.x())
                  .arg(area.y())
                  .arg(area.width())
                  .arg(area.height());
}

void RecordingScreen::showChangeBox(QPoint fieldPoint) {
    changeBoxAt = fieldPoint;
    events << QStringLiteral("change box: %1, %2").arg(fieldPoint.x()).arg(fieldPoint.y());
}

void RecordingScreen::setJobTimes(const QString& endTime, const QString& duration) {
    jobEndTime = endTime;
    jobDuration = duration;
    events << QStringLiteral("job times: ") + endTime + QStringLiteral(" | ") + duration;
}

void RecordingScreen::showFieldViewPart(const QImage&, const QRect& changed) {
    viewParts.push_back(changed);
}

void RecordingScreen::showFaultAdvice() {
    ++faultAdvices;
    events << QStringLiteral("advice: Eror message.");
}

void RecordingScreen::showRunProgress(const RunProgressFigures& figures) {
    runProgress.push_back({figures, clock ? clock->monotonicMs() : 0});
}

void RecordingScreen::showJobPreview(const JobPreview& shown) {
    preview = shown;
    events << QStringLiteral("preview: %1 strikes").arg(shown.strikes);
}

void RecordingScreen::clear() {
    events.clear();
    messages.clear();
    messageKinds.clear();
    viewParts.clear();
    beeps = 0;
}

} // namespace zuk::test
