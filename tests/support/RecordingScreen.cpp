#include "support/RecordingScreen.h"

namespace zuk::test {

namespace {
QString menuStateName(MenuState state) {
    switch (state) {
    case MenuState::LinkLost:
        return QStringLiteral("link lost");
    case MenuState::LinkUp:
        return QStringLiteral("link up");
    case MenuState::Work:
        return QStringLiteral("work");
    }
    return {};
}
template <typename T> T takeAnswer(std::deque<T>& answers, T cancelled) {
    if (answers.empty())
        return cancelled;
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}
} // namespace

void RecordingScreen::showMessage(const QString& text) {
    messages << text;
    events << QStringLiteral("message: ") + text;
}

void RecordingScreen::enterMenuState(MenuState state, bool runTimerEnabled) {
    menuState = state;
    events << QStringLiteral("menu: ") + menuStateName(state) +
                  (runTimerEnabled ? QStringLiteral(" (running)") : QString());
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

std::optional<ConversionVariant> RecordingScreen::askConversionVariant() {
    events << QStringLiteral("dialog: conversion variant");
    return takeAnswer(conversionVariantAnswers, std::optional<ConversionVariant>());
}

QString RecordingScreen::askPictureToOpen() {
    events << QStringLiteral("dialog: open picture");
    return takeAnswer(openPictureAnswers, QString());
}

QString RecordingScreen::askPictureSaveName() {
    events << QStringLiteral("dialog: save picture");
    return takeAnswer(savePictureAnswers, QString());
}

ResolutionChoice RecordingScreen::askResolutionAndPlacement() {
    events << QStringLiteral("dialog: resolution and placement");
    return takeAnswer(resolutionAnswers, ResolutionChoice{});
}

void RecordingScreen::setCaption(const QString& text) {
    caption = text;
    events << QStringLiteral("caption: ") + text;
}

void RecordingScreen::showFieldView(const QImage& view) {
    fieldView = view;
    ++fieldViewsShown;
    events << QStringLiteral("view");
}

void RecordingScreen::clear() {
    events.clear();
    messages.clear();
    beeps = 0;
    fieldViewsShown = 0;
}

} // namespace zuk::test
