#pragma once

#include <QString>

class QAction;
class QKeySequence;
class QMenuBar;

namespace zuk {

// Gives every visible entry of the menu bar and every visible item of its menus a mnemonic
// (Alt and the letter on the bar, the letter in an open menu), unless its caption has one:
// within one menu no two share a character, case aside. A digit of the caption is taken
// first ("Com1" .. "Com8"), then the first letter of a word, then any other letter. The caption
// itself stays as it is; the "&" before the character only marks it. `except` (STOP, which
// has its own key) gets none. Run again after a language file has renamed captions.
void assignMnemonics(QMenuBar& bar, const QAction* except = nullptr);

// Gives a menu item its shortcut, acting only while the item's menu entry on the bar is
// enabled: the menu states enable and disable the entries, not their items, and a job that
// locks the menus must lock their shortcuts too.
void setMenuShortcut(QAction& item, const QKeySequence& keys, const QAction& entry);

// A caption as the operator reads it: its mnemonic's "&" left out, "&&" read as "&".
QString withoutMnemonic(const QString& text);

} // namespace zuk
