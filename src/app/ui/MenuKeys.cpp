#include "app/ui/MenuKeys.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>

#include <optional>
#include <set>
#include <vector>

namespace zuk {

namespace {

// The character a caption's "&" marks, if it has one.
std::optional<QChar> mnemonicOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toLower();
        ++i; // "&&" is a plain "&"
    }
    return std::nullopt;
}

// Where the mnemonic goes in a caption: the first free digit, else the first free letter
// that begins a word, else the first free letter; nothing when every one is taken.
std::optional<qsizetype> mnemonicPlace(const QString& text, const std::set<QChar>& taken) {
    const auto free = [&](qsizetype i) { return !taken.count(text[i].toLower()); };
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].isDigit() && free(i))
            return i;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].isLetter() && (i == 0 || !text[i - 1].isLetterOrNumber()) && free(i))
            return i;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].isLetter() && free(i))
            return i;
    return std::nullopt;
}

// Drops the item's shortcut while its menu entry is disabled.
class EntryShortcutGuard final : public QObject {
public:
    // The entry lives as long as the menu bar that holds the item.
    EntryShortcutGuard(QAction& item, const QAction& entry) : QObject(&item), entry_(entry) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::Shortcut && !entry_.isEnabled();
    }

private:
    const QAction& entry_;
};

void assignWithin(const QList<QAction*>& actions, const QAction* except) {
    std::set<QChar> taken;
    std::vector<QAction*> without;
    for (QAction* action : actions) {
        if (action->isSeparator() || !action->isVisible() || action == except)
            continue;
        if (const std::optional<QChar> marked = mnemonicOf(action->text()))
            taken.insert(*marked);
        else
            without.push_back(action);
    }
    for (QAction* action : without) {
        QString text = action->text();
        if (const std::optional<qsizetype> at = mnemonicPlace(text, taken)) {
            taken.insert(text[*at].toLower());
            text.insert(*at, QLatin1Char('&'));
            action->setText(text);
        }
    }
    for (QAction* action : actions)
        if (action->menu() && action->isVisible())
            assignWithin(action->menu()->actions(), except);
}

} // namespace

void assignMnemonics(QMenuBar& bar, const QAction* except) {
    assignWithin(bar.actions(), except);
}

void setMenuShortcut(QAction& item, const QKeySequence& keys, const QAction& entry) {
    item.setShortcut(keys);
    item.installEventFilter(new EntryShortcutGuard(item, entry));
}

QString withoutMnemonic(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        plain += text[i];
    }
    return plain;
}

} // namespace zuk
