#pragma once

#include "support/RecordingScreen.h"

namespace zuk::test {

// The shared recording screen, keeping in addition every caption and the number of views shown.
class PictureScreen : public RecordingScreen {
public:
    void setCaption(const QString& text) override {
        RecordingScreen::setCaption(text);
        captions << text;
    }
    void showFieldView(const QImage& view) override {
        RecordingScreen::showFieldView(view);
        ++viewsShown;
    }
    void forget() {
        clear();
        captions.clear();
        viewsShown = 0;
    }

    QStringList captions;
    int viewsShown = 0;
};

// The recorded events of one kind ("status", "ask", ...), without the prefix.
inline QStringList eventsOf(const RecordingScreen& screen, const QString& kind) {
    const QString prefix = kind + QStringLiteral(": ");
    QStringList found;
    for (const QString& event : screen.events)
        if (event.startsWith(prefix))
            found << event.mid(prefix.size());
    return found;
}

} // namespace zuk::test
