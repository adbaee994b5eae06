#pragma once

#include "support/RecordingScreen.h"

namespace zuk::test {

// The recorded events of one kind ("status", "caption", "dialog", ...), without the prefix.
inline QStringList eventsOf(const RecordingScreen& screen, const QString& kind) {
    const QString prefix = kind + QStringLiteral(": ");
    QStringList found;
    for (const QString& event : screen.events)
        if (event.startsWith(prefix))
            found << event.mid(prefix.size());
    return found;
}

} // namespace zuk::test
