#pragma once

#include "app/ProgramDir.h"
#include "app/Texts.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <span>

class QObject;

namespace zuk {

// The window a replaceable caption belongs to, and when its texts are applied.
enum class LanguageWindow {
    Main,        // the main window, right after the language file is read
    ConvertForm, // the conversion-variant dialog, at its creation
    AboutBox,    // the about box, each time it is shown
    Form1,       // the unfinished-job dialog, at its creation
    Form5,       // the resolution and placement dialog, at its creation
    Form4,       // the advice dialog, at its creation
};

// One caption a language text replaces. A number that replaces several captions has one row
// for each.
struct LanguageCaption {
    int number;
    LanguageWindow window;
    // Object name of the label, button, menu or menu item; empty for the window's own title.
    const char* objectName;
};

// Every caption of the language table, in number order.
std::span<const LanguageCaption> languageCaptions();
// The object names a number replaces in a window ("" stands for the window's title).
QStringList captionObjects(int number, LanguageWindow window);

// Sets the captions of `window` (and its children found by object name) to the language
// texts held for them; captions without a text keep theirs. Works through Qt properties, so
// it suits any widget: "title" of menus, "text" of labels, buttons and menu items,
// "windowTitle" of the window. Returns the object names that were not found.
QStringList applyLanguageCaptions(const Texts& texts, LanguageWindow which, QObject* window);

// One line of a language file: number and text.
struct LanguageLine {
    int number = 0;
    QString text;
};

// The number is the line's first four characters (leading blanks allowed, then decimal
// digits); the text is everything after the first "=". Lines without either are skipped.
std::optional<LanguageLine> parseLanguageLine(const QString& line);

// Stores the text under its number; the numbers of status texts also replace those.
void applyLanguageText(Texts& texts, int number, const QString& text);

inline const QString kLanguagePattern = QStringLiteral("*.lng");

struct LanguageLoad {
    QString fileName; // the file read; empty when there is none
    int textCount = 0;
    QString error;

    bool found() const { return !fileName.isEmpty(); }
    bool ok() const { return error.isEmpty(); }
};

// Start-up: reads the first "*.lng" of the program directory (Windows-1251) into `texts`
// and marks the language as loaded. No file is not an error.
LanguageLoad loadLanguage(const ProgramDir& dir, Texts& texts);

} // namespace zuk
