#pragma once

namespace zuk {

// The application's identity, set once the QApplication exists: its name "zuk" and no
// display name, which the window system would append to every window title (the titles are
// exactly the program's own: "ZUK-5.6", "Portret_Properties", "ConvertForm", ...); and Qt's
// own texts in Russian (installQtTranslations).
void setUpApplication();

// Qt's own texts (the buttons of the message boxes, the file dialogs) in Russian like the rest
// of the program, whatever the system's language: "qtbase_ru" from Qt's translations folder,
// installed once. False, with a warning on the error output, when it is not there: the
// standard dialogs then speak English.
bool installQtTranslations();

} // namespace zuk
