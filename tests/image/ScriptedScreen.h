#pragma once

#include "app/Screen.h"

#include <QImage>
#include <QStringList>

#include <deque>
#include <optional>
#include <utility>
#include <vector>

namespace zuk::test {

// A screen for the picture tests: it answers the picture dialogs from scripted queues and
// records everything the core shows. A dialog asked for without a scripted answer counts as
// cancelled (and is noted in unexpectedDialogs).
class ScriptedScreen : public Screen {
public:
    // Scripted answers, used front first.
    std::deque<std::optional<ConversionVariant>> variantAnswers;
    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::deque<ResolutionChoice> resolutionAnswers;

    // What was shown.
    QStringList messages;
    QStringList statusLines;
    QStringList captions;
    std::vector<std::pair<int, int>> gauges;
    QStringList dialogs; // "variant", "open", "save", "resolution" in the order asked
    int unexpectedDialogs = 0;
    int viewsShown = 0;
    QImage lastView;

    void showMessage(const QString& text) override { messages << text; }
    void enterMenuState(MenuState, bool) override {}
    void setCursor(CursorShape) override {}
    void beep() override {}
    void setStatusLine(const QString& text) override { statusLines << text; }
    void setGauge(int progress, int maximum) override { gauges.emplace_back(progress, maximum); }
    void setField(Field, const QString&) override {}
    void processEvents() override {}
    RecoveryChoice askRecoveryChoice() override { return {}; }

    std::optional<ConversionVariant> askConversionVariant() override {
        dialogs << QStringLiteral("variant");
        return take(variantAnswers, std::optional<ConversionVariant>());
    }
    QString askPictureToOpen() override {
        dialogs << QStringLiteral("open");
        return take(openAnswers, QString());
    }
    QString askPictureSaveName() override {
        dialogs << QStringLiteral("save");
        return take(saveAnswers, QString());
    }
    ResolutionChoice askResolutionAndPlacement() override {
        dialogs << QStringLiteral("resolution");
        return take(resolutionAnswers, ResolutionChoice{});
    }
    void setCaption(const QString& text) override { captions << text; }
    void showFieldView(const QImage& view) override {
        ++viewsShown;
        lastView = view;
    }

    void clearRecords() {
        messages.clear();
        statusLines.clear();
        captions.clear();
        gauges.clear();
        dialogs.clear();
        viewsShown = 0;
    }

private:
    template <typename T> T take(std::deque<T>& answers, T cancelled) {
        if (answers.empty()) {
            ++unexpectedDialogs;
            return cancelled;
        }
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
};

} // namespace zuk::test
